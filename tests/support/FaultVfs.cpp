#include "support/FaultVfs.h"

#include <sqlite3.h>

#include <cstddef>
#include <cstring>

namespace vxtest {

namespace {

// ---- the VFS shim ------------------------------------------------------------------------------

struct Counter {
    int64_t count = 0;
    int64_t failAt = 0;
    int errorCode = SQLITE_IOERR;
    bool fired = false;

    // Counts one operation; true when it is the one to fail.
    bool Next()
    {
        ++count;
        if (failAt != 0 && count == failAt) {
            fired = true;
            return true;
        }
        return false;
    }
};

Counter g_io;
sqlite3_vfs* g_real = nullptr;
sqlite3_vfs g_shim;

// A shim file: our methods first, the real file right after it.
struct ShimFile {
    sqlite3_file base;
    sqlite3_file* real;
};

sqlite3_file* Real(sqlite3_file* file)
{
    return reinterpret_cast<ShimFile*>(file)->real;
}

int ShimClose(sqlite3_file* f)
{
    sqlite3_file* real = Real(f);
    return real->pMethods ? real->pMethods->xClose(real) : SQLITE_OK;
}
int ShimRead(sqlite3_file* f, void* data, int amount, sqlite3_int64 offset)
{
    return Real(f)->pMethods->xRead(Real(f), data, amount, offset);
}
int ShimWrite(sqlite3_file* f, const void* data, int amount, sqlite3_int64 offset)
{
    if (g_io.Next())
        return g_io.errorCode;
    return Real(f)->pMethods->xWrite(Real(f), data, amount, offset);
}
int ShimTruncate(sqlite3_file* f, sqlite3_int64 size)
{
    if (g_io.Next())
        return g_io.errorCode;
    return Real(f)->pMethods->xTruncate(Real(f), size);
}
// A sync that succeeds is not passed on: the sweeps run hundreds of exports, and what they check
// (the reports and the files left behind) does not depend on the data reaching the disk.
int ShimSync(sqlite3_file*, int)
{
    return g_io.Next() ? g_io.errorCode : SQLITE_OK;
}
int ShimFileSize(sqlite3_file* f, sqlite3_int64* size)
{
    return Real(f)->pMethods->xFileSize(Real(f), size);
}
int ShimLock(sqlite3_file* f, int level)
{
    return Real(f)->pMethods->xLock(Real(f), level);
}
int ShimUnlock(sqlite3_file* f, int level)
{
    return Real(f)->pMethods->xUnlock(Real(f), level);
}
int ShimCheckReservedLock(sqlite3_file* f, int* out)
{
    return Real(f)->pMethods->xCheckReservedLock(Real(f), out);
}
int ShimFileControl(sqlite3_file* f, int op, void* arg)
{
    return Real(f)->pMethods->xFileControl(Real(f), op, arg);
}
int ShimSectorSize(sqlite3_file* f)
{
    return Real(f)->pMethods->xSectorSize(Real(f));
}
int ShimDeviceCharacteristics(sqlite3_file* f)
{
    return Real(f)->pMethods->xDeviceCharacteristics(Real(f));
}

// Version 1 methods only: no shared memory (the exporter uses a rollback journal) and no
// memory-mapped I/O, so that every change goes through xWrite.
const sqlite3_io_methods kShimMethods = {
    1,
    ShimClose,
    ShimRead,
    ShimWrite,
    ShimTruncate,
    ShimSync,
    ShimFileSize,
    ShimLock,
    ShimUnlock,
    ShimCheckReservedLock,
    ShimFileControl,
    ShimSectorSize,
    ShimDeviceCharacteristics,
    nullptr,
    nullptr,
    nullptr,
    nullptr,
    nullptr,
    nullptr,
};

int ShimOpen(sqlite3_vfs*, sqlite3_filename name, sqlite3_file* file, int flags, int* outFlags)
{
    ShimFile* shim = reinterpret_cast<ShimFile*>(file);
    shim->base.pMethods = nullptr;
    shim->real = reinterpret_cast<sqlite3_file*>(shim + 1);
    std::memset(shim->real, 0, static_cast<std::size_t>(g_real->szOsFile));
    const int rc = g_real->xOpen(g_real, name, shim->real, flags, outFlags);
    if (rc == SQLITE_OK || shim->real->pMethods)
        shim->base.pMethods = &kShimMethods;
    return rc;
}
int ShimDelete(sqlite3_vfs*, const char* name, int syncDir)
{
    return g_real->xDelete(g_real, name, syncDir);
}
int ShimAccess(sqlite3_vfs*, const char* name, int flags, int* out)
{
    return g_real->xAccess(g_real, name, flags, out);
}
int ShimFullPathname(sqlite3_vfs*, const char* name, int size, char* out)
{
    return g_real->xFullPathname(g_real, name, size, out);
}
void* ShimDlOpen(sqlite3_vfs*, const char* name)
{
    return g_real->xDlOpen(g_real, name);
}
void ShimDlError(sqlite3_vfs*, int size, char* out)
{
    g_real->xDlError(g_real, size, out);
}
void (*ShimDlSym(sqlite3_vfs*, void* handle, const char* symbol))(void)
{
    return g_real->xDlSym(g_real, handle, symbol);
}
void ShimDlClose(sqlite3_vfs*, void* handle)
{
    g_real->xDlClose(g_real, handle);
}
int ShimRandomness(sqlite3_vfs*, int size, char* out)
{
    return g_real->xRandomness(g_real, size, out);
}
int ShimSleep(sqlite3_vfs*, int micro)
{
    return g_real->xSleep(g_real, micro);
}
int ShimCurrentTime(sqlite3_vfs*, double* out)
{
    return g_real->xCurrentTime(g_real, out);
}
int ShimGetLastError(sqlite3_vfs*, int size, char* out)
{
    return g_real->xGetLastError ? g_real->xGetLastError(g_real, size, out) : 0;
}

// ---- the allocator ------------------------------------------------------------------------------

Counter g_alloc;
sqlite3_mem_methods g_realMem;
bool g_allocActive = false;

void* FaultMalloc(int size)
{
    return g_alloc.Next() ? nullptr : g_realMem.xMalloc(size);
}
void* FaultRealloc(void* p, int size)
{
    if (size > g_realMem.xSize(p) && g_alloc.Next())
        return nullptr;
    return g_realMem.xRealloc(p, size);
}

} // namespace

FaultVfs::FaultVfs()
{
    g_real = sqlite3_vfs_find(nullptr);
    g_shim = sqlite3_vfs {};
    g_shim.iVersion = 1;
    g_shim.szOsFile = static_cast<int>(sizeof(ShimFile)) + g_real->szOsFile;
    g_shim.mxPathname = g_real->mxPathname;
    g_shim.zName = "vxtest-fault";
    g_shim.xOpen = ShimOpen;
    g_shim.xDelete = ShimDelete;
    g_shim.xAccess = ShimAccess;
    g_shim.xFullPathname = ShimFullPathname;
    g_shim.xDlOpen = ShimDlOpen;
    g_shim.xDlError = ShimDlError;
    g_shim.xDlSym = ShimDlSym;
    g_shim.xDlClose = ShimDlClose;
    g_shim.xRandomness = ShimRandomness;
    g_shim.xSleep = ShimSleep;
    g_shim.xCurrentTime = ShimCurrentTime;
    g_shim.xGetLastError = ShimGetLastError;
    g_io = Counter {};
    sqlite3_vfs_register(&g_shim, 1);
}

FaultVfs::~FaultVfs()
{
    sqlite3_vfs_unregister(&g_shim);
    sqlite3_vfs_register(g_real, 1);
}

void FaultVfs::FailAt(int64_t n, int errorCode)
{
    g_io = Counter {};
    g_io.failAt = n;
    g_io.errorCode = errorCode;
}

int64_t FaultVfs::Operations() const
{
    return g_io.count;
}

bool FaultVfs::Fired() const
{
    return g_io.fired;
}

FaultAllocator::FaultAllocator()
{
    g_alloc = Counter {};
    sqlite3_shutdown();
    if (sqlite3_config(SQLITE_CONFIG_GETMALLOC, &g_realMem) != SQLITE_OK)
        return;
    sqlite3_mem_methods shim = g_realMem;
    shim.xMalloc = FaultMalloc;
    shim.xRealloc = FaultRealloc;
    g_allocActive = sqlite3_config(SQLITE_CONFIG_MALLOC, &shim) == SQLITE_OK;
    sqlite3_initialize();
}

FaultAllocator::~FaultAllocator()
{
    if (!g_allocActive)
        return;
    sqlite3_shutdown();
    sqlite3_config(SQLITE_CONFIG_MALLOC, &g_realMem);
    sqlite3_initialize();
    g_allocActive = false;
}

void FaultAllocator::FailAt(int64_t n)
{
    g_alloc = Counter {};
    g_alloc.failAt = n;
}

int64_t FaultAllocator::Allocations() const
{
    return g_alloc.count;
}

bool FaultAllocator::Fired() const
{
    return g_alloc.fired;
}

bool FaultAllocator::IsActive() const
{
    return g_allocActive;
}

} // namespace vxtest
