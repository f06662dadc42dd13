#pragma once

// The system's own words for the calling thread's last error, shared by the
// Windows implementations of the file and process seams.

#include "core/FileSystem.h"

namespace tintwright {

FileOutcome FailedWithLastError();

}  // namespace tintwright
