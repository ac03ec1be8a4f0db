#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/dyn_arrays.h"

namespace vork {

// The pseudo-code that stands for none of the listed codes. It stays in the
// list it was put in: the move routines never carry it to another list.
inline constexpr std::string_view ResidualCode = "&";

// The items of a code list box and which of them are selected. A window
// reads its list widget into one, lets the routines below work on it and
// shows the result (widgets/code_list_box.h does both for Qt lists). Selected
// may be shorter than Items; missing entries count as not selected.
struct CodeList {
  dynString Items;
  std::vector<bool> Selected;

  bool IsSelected(size_t index) const { return index < Selected.size() && Selected[index]; }
};

// Moves the selected items of source to the end of target, in source order.
// A selected "&" leaves source without reaching target. Moved items arrive
// unselected; what stays in source stays as it was.
void MoveSelectedCodes(CodeList& source, CodeList& target);

// Moves every item of source but "&" to the end of target and empties
// source ("&" included).
void MoveAllCodeItems(CodeList& source, CodeList& target);

// The code number of name among names[1..n] (exact, case-sensitive); 0 when
// absent. When a name occurs twice the higher number wins. n is taken no
// further than the names there are.
int FindCodeIndex(const std::string& name, const dynString& names, int n);

// The code numbers of a list of names as the analyses index them: 0 at [0],
// then FindCodeIndex of each name among codeNames[1..nCodes]. A name that is
// not a code of the file has number 0 and is never on.
dynInteger CodeIndexList(const dynString& names, const dynString& codeNames, int nCodes);

}  // namespace vork
