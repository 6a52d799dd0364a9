#pragma once

#include <mutex>
#include <string>

// Checks the status of a netCDF library call: throws AiaError with the library's reason and
// `what` was being done when it is not NC_NOERR.
void NetcdfCall(int status, const char* what);

// The netCDF library keeps global state (its table of open files) without locks, so two threads
// must never be inside it at once: every use of the library holds this lock, from create or
// open to close.
std::mutex& NetcdfLock();
