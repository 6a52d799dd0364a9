#pragma once

#include <string>

// Checks the status of a netCDF library call: throws AiaError with the library's reason and
// `what` was being done when it is not NC_NOERR.
void NetcdfCall(int status, const char* what);
