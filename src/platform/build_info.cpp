#include "platform/build_info.h"

#include "qh_build_version.h"

namespace qh {

std::string BuildVersion() { return QH_VERSION_STRING; }
std::string BuildCommit() { return QH_COMMIT_STRING; }
std::string VersionText() { return "Quillhaven " + BuildVersion() + " (commit " + BuildCommit() + ")"; }

}  // namespace qh
