#include "NetcdfCall.h"

#include <netcdf.h>

#include "AiaError.h"

void NetcdfCall(int status, const char* what) {
    if (status != NC_NOERR)
        throw AiaError(std::string("netCDF: ") + what + ": " + nc_strerror(status));
}

std::mutex& NetcdfLock() {
    static std::mutex lock;
    return lock;
}
