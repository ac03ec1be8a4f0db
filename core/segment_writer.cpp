#include "core/segment_writer.h"

#include "core/command_error.h"

namespace vork {

int WriteSegmentData(dynString&, const dynChar2&, dynInteger&, int, int, bool, bool) {
  throw CommandError("Writing segment data is not built yet.");
}

}  // namespace vork
