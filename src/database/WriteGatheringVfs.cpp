#include "database/WriteGatheringVfs.h"

#include <sqlite3.h>

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace Sqlite3 {

namespace {

// Writes are gathered in units of 512 bytes (a sector, and a divisor of every page size).
constexpr int kUnitBytes = 512;
constexpr int kWindowBytes = kGatheredWindowBytes;
constexpr int kWindowUnits = kWindowBytes / kUnitBytes;
// How far a new window reaches back before the write that opens it.
constexpr int kLookBackBytes = kWindowBytes / 4;
// SQLite's Unix VFS takes less than 128 KiB in one write.
constexpr int kWriteUnits = 64 * 1024 / kUnitBytes;

// Our methods first, then the file of the VFS beneath (allocated at open, since that VFS is only
// known then) and the window of gathered bytes: kWindowBytes from offset start, of which the
// units marked in filled hold bytes SQLite wrote.
struct GatherFile {
    sqlite3_file base;
    sqlite3_file* real;
    unsigned char* buffer;
    sqlite3_int64 start;
    bool gathers; // false: writes pass straight through
    bool holding; // whether any unit of the window is filled
    uint64_t filled[kWindowUnits / 64];
};

GatherFile* Gather(sqlite3_file* file)
{
    return reinterpret_cast<GatherFile*>(file);
}

sqlite3_file* Real(sqlite3_file* file)
{
    return Gather(file)->real;
}

sqlite3_vfs* Beneath()
{
    return sqlite3_vfs_find(nullptr);
}

bool IsFilled(const GatherFile* file, int unit)
{
    return (file->filled[unit / 64] >> (unit % 64)) & 1U;
}

void MarkUnits(GatherFile* file, int first, int end, bool filled)
{
    for (int unit = first; unit < end; ++unit) {
        uint64_t& word = file->filled[unit / 64];
        const uint64_t bit = uint64_t {1} << (unit % 64);
        word = filled ? (word | bit) : (word & ~bit);
    }
}

// Writes the bytes of units [first, end) of the window, in pieces the VFS beneath accepts.
int WriteUnits(GatherFile* file, int first, int end)
{
    for (int unit = first; unit < end; unit += kWriteUnits) {
        const int count = std::min(kWriteUnits, end - unit);
        const int rc = file->real->pMethods->xWrite(file->real, file->buffer + unit * kUnitBytes,
            count * kUnitBytes, file->start + static_cast<sqlite3_int64>(unit) * kUnitBytes);
        if (rc != SQLITE_OK)
            return rc;
    }
    return SQLITE_OK;
}

// Hands the gathered bytes on, one write per run of filled units. After a failure the runs not
// written stay gathered: SQLite takes the writes it was told succeeded as done, and may ignore the
// error of the call that handed them on (an unlock, say), so they are tried again by the next call
// that hands on, and a sync reports the failure for as long as it lasts. Later writes to the same
// bytes replace them in the window or follow them to the file, so the order of writes is kept.
int HandOn(GatherFile* file)
{
    if (!file->holding)
        return SQLITE_OK;
    for (int unit = 0; unit < kWindowUnits;) {
        if (!IsFilled(file, unit)) {
            ++unit;
            continue;
        }
        int end = unit + 1;
        while (end < kWindowUnits && IsFilled(file, end))
            ++end;
        const int rc = WriteUnits(file, unit, end);
        if (rc != SQLITE_OK)
            return rc;
        MarkUnits(file, unit, end, false);
        unit = end;
    }
    file->holding = false;
    return SQLITE_OK;
}

// Copies a write that lies inside the window into it.
void Fill(GatherFile* file, const void* data, int amount, sqlite3_int64 offset)
{
    const auto at = static_cast<int>(offset - file->start);
    std::memcpy(file->buffer + at, data, static_cast<size_t>(amount));
    MarkUnits(file, at / kUnitBytes, (at + amount) / kUnitBytes, true);
    file->holding = true;
}

bool InsideWindow(const GatherFile* file, int amount, sqlite3_int64 offset)
{
    return offset >= file->start && offset + amount <= file->start + kWindowBytes;
}

// Places an empty window around a write at offset, reaching back a little since SQLite writes
// neighbouring pages out of order; false when there is no buffer to gather in.
bool OpenWindow(GatherFile* file, int amount, sqlite3_int64 offset)
{
    if (!file->buffer)
        file->buffer = static_cast<unsigned char*>(sqlite3_malloc(kWindowBytes));
    if (!file->buffer)
        return false;
    file->start = std::max<sqlite3_int64>(0, offset - kLookBackBytes);
    if (!InsideWindow(file, amount, offset))
        file->start = offset;
    return true;
}

int GatherClose(sqlite3_file* f)
{
    GatherFile* file = Gather(f);
    // Bytes that cannot be handed on now are lost with the file; the error says so.
    const int handedOn = HandOn(file);
    const int closed = file->real->pMethods ? file->real->pMethods->xClose(file->real) : SQLITE_OK;
    sqlite3_free(file->buffer);
    sqlite3_free(file->real);
    file->buffer = nullptr;
    file->real = nullptr;
    return handedOn != SQLITE_OK ? handedOn : closed;
}

int GatherRead(sqlite3_file* f, void* data, int amount, sqlite3_int64 offset)
{
    GatherFile* file = Gather(f);
    if (file->holding && offset + amount > file->start) {
        const int rc = HandOn(file);
        if (rc != SQLITE_OK)
            return rc;
    }
    return file->real->pMethods->xRead(file->real, data, amount, offset);
}

int GatherWrite(sqlite3_file* f, const void* data, int amount, sqlite3_int64 offset)
{
    GatherFile* file = Gather(f);
    const bool unitSized
        = amount > 0 && amount <= kWindowBytes && amount % kUnitBytes == 0 && offset % kUnitBytes == 0;
    if (file->gathers && unitSized && file->holding && InsideWindow(file, amount, offset)) {
        Fill(file, data, amount, offset);
        return SQLITE_OK;
    }
    const int rc = HandOn(file);
    if (rc != SQLITE_OK)
        return rc;
    if (file->gathers && unitSized && OpenWindow(file, amount, offset)) {
        Fill(file, data, amount, offset);
        return SQLITE_OK;
    }
    return file->real->pMethods->xWrite(file->real, data, amount, offset);
}

int GatherTruncate(sqlite3_file* f, sqlite3_int64 size)
{
    const int rc = HandOn(Gather(f));
    return rc != SQLITE_OK ? rc : Real(f)->pMethods->xTruncate(Real(f), size);
}

int GatherSync(sqlite3_file* f, int flags)
{
    const int rc = HandOn(Gather(f));
    return rc != SQLITE_OK ? rc : Real(f)->pMethods->xSync(Real(f), flags);
}

int GatherFileSize(sqlite3_file* f, sqlite3_int64* size)
{
    const int rc = HandOn(Gather(f));
    return rc != SQLITE_OK ? rc : Real(f)->pMethods->xFileSize(Real(f), size);
}

int GatherLock(sqlite3_file* f, int level)
{
    return Real(f)->pMethods->xLock(Real(f), level);
}

int GatherUnlock(sqlite3_file* f, int level)
{
    const int rc = HandOn(Gather(f));
    return rc != SQLITE_OK ? rc : Real(f)->pMethods->xUnlock(Real(f), level);
}

int GatherCheckReservedLock(sqlite3_file* f, int* out)
{
    return Real(f)->pMethods->xCheckReservedLock(Real(f), out);
}

// Only a sync needs the gathered bytes in the file. With synchronous off SQLite sends
// SQLITE_FCNTL_SYNC where it would have synced, and it ignores the result of some other controls
// (size hints), whose failures are better met by the sync that follows.
int GatherFileControl(sqlite3_file* f, int op, void* arg)
{
    if (op == SQLITE_FCNTL_SYNC) {
        const int rc = HandOn(Gather(f));
        if (rc != SQLITE_OK)
            return rc;
    }
    return Real(f)->pMethods->xFileControl(Real(f), op, arg);
}

int GatherSectorSize(sqlite3_file* f)
{
    return Real(f)->pMethods->xSectorSize(Real(f));
}

int GatherDeviceCharacteristics(sqlite3_file* f)
{
    return Real(f)->pMethods->xDeviceCharacteristics(Real(f));
}

// Version 1: no shared memory and no memory-mapped pages, so that every change comes through
// GatherWrite.
const sqlite3_io_methods kGatherMethods = {
    1,
    GatherClose,
    GatherRead,
    GatherWrite,
    GatherTruncate,
    GatherSync,
    GatherFileSize,
    GatherLock,
    GatherUnlock,
    GatherCheckReservedLock,
    GatherFileControl,
    GatherSectorSize,
    GatherDeviceCharacteristics,
    nullptr,
    nullptr,
    nullptr,
    nullptr,
    nullptr,
    nullptr,
};

int VfsOpen(sqlite3_vfs*, sqlite3_filename name, sqlite3_file* f, int flags, int* outFlags)
{
    GatherFile* file = Gather(f);
    *file = GatherFile {};
    sqlite3_vfs* beneath = Beneath();
    file->real = static_cast<sqlite3_file*>(sqlite3_malloc(beneath->szOsFile));
    if (!file->real)
        return SQLITE_NOMEM;
    std::memset(file->real, 0, static_cast<size_t>(beneath->szOsFile));
    const int rc = beneath->xOpen(beneath, name, file->real, flags, outFlags);
    // A file the VFS beneath left methods in must be closed through them, even after a failure.
    if (!file->real->pMethods) {
        sqlite3_free(file->real);
        file->real = nullptr;
        return rc != SQLITE_OK ? rc : SQLITE_CANTOPEN;
    }
    file->gathers = (flags & SQLITE_OPEN_MAIN_DB) != 0;
    file->base.pMethods = &kGatherMethods;
    return rc;
}

int VfsDelete(sqlite3_vfs*, const char* name, int syncDir)
{
    return Beneath()->xDelete(Beneath(), name, syncDir);
}
int VfsAccess(sqlite3_vfs*, const char* name, int flags, int* out)
{
    return Beneath()->xAccess(Beneath(), name, flags, out);
}
int VfsFullPathname(sqlite3_vfs*, const char* name, int size, char* out)
{
    return Beneath()->xFullPathname(Beneath(), name, size, out);
}
void* VfsDlOpen(sqlite3_vfs*, const char* name)
{
    return Beneath()->xDlOpen(Beneath(), name);
}
void VfsDlError(sqlite3_vfs*, int size, char* out)
{
    Beneath()->xDlError(Beneath(), size, out);
}
void (*VfsDlSym(sqlite3_vfs*, void* handle, const char* symbol))(void)
{
    return Beneath()->xDlSym(Beneath(), handle, symbol);
}
void VfsDlClose(sqlite3_vfs*, void* handle)
{
    Beneath()->xDlClose(Beneath(), handle);
}
int VfsRandomness(sqlite3_vfs*, int size, char* out)
{
    return Beneath()->xRandomness(Beneath(), size, out);
}
int VfsSleep(sqlite3_vfs*, int micro)
{
    return Beneath()->xSleep(Beneath(), micro);
}
int VfsCurrentTime(sqlite3_vfs*, double* out)
{
    return Beneath()->xCurrentTime(Beneath(), out);
}
int VfsGetLastError(sqlite3_vfs*, int size, char* out)
{
    sqlite3_vfs* beneath = Beneath();
    return beneath->xGetLastError ? beneath->xGetLastError(beneath, size, out) : 0;
}

constexpr const char* kVfsName = "vx-write-gathering";

sqlite3_vfs* RegisterGatheringVfs()
{
    static sqlite3_vfs vfs {};
    sqlite3_vfs* beneath = Beneath();
    vfs.iVersion = 1;
    vfs.szOsFile = static_cast<int>(sizeof(GatherFile));
    vfs.mxPathname = beneath ? beneath->mxPathname : 512;
    vfs.zName = kVfsName;
    vfs.xOpen = VfsOpen;
    vfs.xDelete = VfsDelete;
    vfs.xAccess = VfsAccess;
    vfs.xFullPathname = VfsFullPathname;
    vfs.xDlOpen = VfsDlOpen;
    vfs.xDlError = VfsDlError;
    vfs.xDlSym = VfsDlSym;
    vfs.xDlClose = VfsDlClose;
    vfs.xRandomness = VfsRandomness;
    vfs.xSleep = VfsSleep;
    vfs.xCurrentTime = VfsCurrentTime;
    vfs.xGetLastError = VfsGetLastError;
    sqlite3_vfs_register(&vfs, 0);
    return &vfs;
}

} // namespace

const char* WriteGatheringVfsName()
{
    static const sqlite3_vfs* const registered = RegisterGatheringVfs();
    return registered->zName;
}

} // namespace Sqlite3
