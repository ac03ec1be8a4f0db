#include "core/code_lists.h"

#include <algorithm>

namespace vork {
namespace {

void AppendUnselected(CodeList& target, const std::string& item) {
  target.Selected.resize(target.Items.size(), false);
  target.Items.push_back(item);
  target.Selected.push_back(false);
}

}  // namespace

void MoveSelectedCodes(CodeList& source, CodeList& target) {
  if (std::find(source.Selected.begin(), source.Selected.end(), true) == source.Selected.end()) {
    return;
  }
  CodeList kept;
  for (size_t i = 0; i < source.Items.size(); ++i) {
    if (!source.IsSelected(i)) {
      kept.Items.push_back(std::move(source.Items[i]));
      kept.Selected.push_back(false);
    } else if (source.Items[i] != ResidualCode) {
      AppendUnselected(target, source.Items[i]);
    }
  }
  source = std::move(kept);
}

void MoveAllCodeItems(CodeList& source, CodeList& target) {
  for (const std::string& item : source.Items) {
    if (item != ResidualCode) AppendUnselected(target, item);
  }
  source.Items.clear();
  source.Selected.clear();
}

int FindCodeIndex(const std::string& name, const dynString& names, int n) {
  const int last = std::min(n, static_cast<int>(names.size()) - 1);
  for (int i = last; i >= 1; --i) {
    if (names[static_cast<size_t>(i)] == name) return i;
  }
  return 0;
}

dynInteger CodeIndexList(const dynString& names, const dynString& codeNames, int nCodes) {
  dynInteger indices(names.size() + 1, 0);
  for (std::size_t i = 0; i < names.size(); ++i) indices[i + 1] = FindCodeIndex(names[i], codeNames, nCodes);
  return indices;
}

}  // namespace vork
