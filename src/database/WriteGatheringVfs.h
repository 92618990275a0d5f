#pragma once
// A SQLite VFS that gathers the page writes of a database file into larger writes.
//
// SQLite hands a database file to the operating system one page (4 KiB) at a time. A design of a
// few hundred megabytes is then tens of thousands of write calls, and each call costs more than
// copying its page. Pages of a growing design are mostly written in order, so consecutive writes
// are gathered in a buffer and handed on as one.

namespace Sqlite3 {

// The size of the window of a file that writes are gathered in.
constexpr int kGatheredWindowBytes = 256 * 1024;

// The name of a VFS that works through the default VFS and gathers writes to main database files.
// Writes of whole 512-byte units that fall inside the current window of the file (kGatheredWindowBytes,
// placed by the write that opened it) are kept in memory; any other write hands the window on
// first, each run of consecutive bytes as one write (in pieces below 128 KiB). Journals and other
// files pass straight through.
// Gathered bytes are handed on before a read that reaches past the window's start, before a file
// size, truncate, sync (SQLITE_FCNTL_SYNC too) or unlock, and when the file is closed, so SQLite
// never sees a file different from the one it wrote. A hand-on that fails is the error of the call
// that caused it, and the bytes not handed on stay gathered: every later hand-on tries them again,
// so a sync fails for as long as they cannot be written. Only closing the file drops them.
//
// The default VFS is looked up at every open, so a VFS registered as the default later (a fault
// injecting one, say) lies beneath this one. The files offer no shared memory (no WAL) and no
// memory-mapped reads. The first call registers the VFS (never as the default); thread-safe.
const char* WriteGatheringVfsName();

} // namespace Sqlite3
