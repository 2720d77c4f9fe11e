#include "support/FaultyDisk.h"

#include <QFileInfo>
#include <algorithm>
#include <cerrno>
#include <sqlite3.h>
#include <stdexcept>

namespace testing_support {

namespace {

struct DiskState {
    sqlite3_vfs* base = nullptr;
    long long room = -1;  // bytes that may still be written; -1: no end
    long long written = 0;
    bool full = false;    // a write found no room
    QString readOnlyPath;
    QStringList opened;
};

// The file as SQLite holds it: the default VFS's own file follows it in
// the same allocation.
struct FaultyFile {
    sqlite3_file base;
    sqlite3_file* real;
    DiskState* disk;
};

sqlite3_file* Real(sqlite3_file* file)
{
    return reinterpret_cast<FaultyFile*>(file)->real;
}

const sqlite3_io_methods& RealMethods(sqlite3_file* file)
{
    return *Real(file)->pMethods;
}

// Takes room for `bytes`; false, and the disk full, when there is none.
bool TakeRoom(sqlite3_file* file, long long bytes)
{
    DiskState& disk = *reinterpret_cast<FaultyFile*>(file)->disk;
    if (disk.room >= 0 && bytes > disk.room) {
        disk.room = 0;
        disk.full = true;
        return false;
    }
    if (disk.room >= 0)
        disk.room -= bytes;
    disk.written += bytes;
    return true;
}

int Close(sqlite3_file* f) { return RealMethods(f).xClose(Real(f)); }
int Read(sqlite3_file* f, void* buffer, int amount, sqlite3_int64 offset)
{
    return RealMethods(f).xRead(Real(f), buffer, amount, offset);
}
int Write(sqlite3_file* f, const void* buffer, int amount, sqlite3_int64 offset)
{
    if (!TakeRoom(f, amount))
        return SQLITE_FULL;
    return RealMethods(f).xWrite(Real(f), buffer, amount, offset);
}
int Truncate(sqlite3_file* f, sqlite3_int64 size) { return RealMethods(f).xTruncate(Real(f), size); }
int Sync(sqlite3_file* f, int flags) { return RealMethods(f).xSync(Real(f), flags); }
int FileSize(sqlite3_file* f, sqlite3_int64* size) { return RealMethods(f).xFileSize(Real(f), size); }
int Lock(sqlite3_file* f, int level) { return RealMethods(f).xLock(Real(f), level); }
int Unlock(sqlite3_file* f, int level) { return RealMethods(f).xUnlock(Real(f), level); }
int CheckReservedLock(sqlite3_file* f, int* out) { return RealMethods(f).xCheckReservedLock(Real(f), out); }
int FileControl(sqlite3_file* f, int op, void* arg) { return RealMethods(f).xFileControl(Real(f), op, arg); }
int SectorSize(sqlite3_file* f) { return RealMethods(f).xSectorSize(Real(f)); }
int DeviceCharacteristics(sqlite3_file* f) { return RealMethods(f).xDeviceCharacteristics(Real(f)); }
// The default VFS grows the WAL index by writing to it; on a full disk that
// write fails and SQLite reports an I/O error.
int ShmMap(sqlite3_file* f, int page, int size, int extend, void volatile** mapped)
{
    if (extend && !TakeRoom(f, size))
        return SQLITE_IOERR_SHMSIZE;
    return RealMethods(f).xShmMap(Real(f), page, size, extend, mapped);
}
int ShmLock(sqlite3_file* f, int offset, int n, int flags) { return RealMethods(f).xShmLock(Real(f), offset, n, flags); }
void ShmBarrier(sqlite3_file* f) { RealMethods(f).xShmBarrier(Real(f)); }
int ShmUnmap(sqlite3_file* f, int deleteFlag) { return RealMethods(f).xShmUnmap(Real(f), deleteFlag); }
int Fetch(sqlite3_file* f, sqlite3_int64 offset, int amount, void** pages)
{
    return RealMethods(f).xFetch(Real(f), offset, amount, pages);
}
int Unfetch(sqlite3_file* f, sqlite3_int64 offset, void* page) { return RealMethods(f).xUnfetch(Real(f), offset, page); }

const sqlite3_io_methods kMethods = {
    3,       Close,      Read,         Write,        Truncate,    Sync,
    FileSize, Lock,      Unlock,       CheckReservedLock,         FileControl,
    SectorSize, DeviceCharacteristics, ShmMap,       ShmLock,     ShmBarrier,
    ShmUnmap, Fetch,     Unfetch,
};

DiskState& StateOf(sqlite3_vfs* vfs)
{
    return *static_cast<DiskState*>(vfs->pAppData);
}

bool IsReadOnlyPath(const DiskState& disk, const QString& path)
{
    return !disk.readOnlyPath.isEmpty()
           && QFileInfo(path).canonicalFilePath() == QFileInfo(disk.readOnlyPath).canonicalFilePath();
}

// What SQLite's own VFS does when it may not open a database for writing:
// it opens it read-only and says so in the flags it hands back.
int Open(sqlite3_vfs* vfs, sqlite3_filename name, sqlite3_file* file, int flags, int* outFlags)
{
    DiskState& disk = StateOf(vfs);
    auto* faulty = reinterpret_cast<FaultyFile*>(file);
    faulty->real = reinterpret_cast<sqlite3_file*>(faulty + 1);
    faulty->real->pMethods = nullptr;
    faulty->disk = &disk;
    const QString path = name ? QString::fromUtf8(name) : QString();
    if (name)
        disk.opened << path;
    int realFlags = flags;
    if ((flags & SQLITE_OPEN_MAIN_DB) && (flags & SQLITE_OPEN_READWRITE) && IsReadOnlyPath(disk, path))
        realFlags = (flags & ~(SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE)) | SQLITE_OPEN_READONLY;
    const int rc = disk.base->xOpen(disk.base, name, faulty->real, realFlags, outFlags);
    file->pMethods = faulty->real->pMethods ? &kMethods : nullptr;
    return rc;
}

int GetLastError(sqlite3_vfs* vfs, int size, char* text)
{
    DiskState& disk = StateOf(vfs);
    if (disk.full)
        return ENOSPC;
    return disk.base->xGetLastError(disk.base, size, text);
}

sqlite3_vfs* Base(sqlite3_vfs* vfs)
{
    return StateOf(vfs).base;
}

} // namespace

FaultyDisk::FaultyDisk()
{
    auto* state = new DiskState;
    state->base = sqlite3_vfs_find(nullptr);
    if (!state->base)
        throw std::runtime_error("no default SQLite VFS");
    sqlite3_vfs* base = state->base;
    vfs_ = new sqlite3_vfs(*base);
    vfs_->iVersion = std::min(base->iVersion, 3);
    vfs_->szOsFile = int(sizeof(FaultyFile)) + base->szOsFile;
    vfs_->pNext = nullptr;
    vfs_->zName = "tessary-faulty-disk";
    vfs_->pAppData = state;
    vfs_->xOpen = Open;
    vfs_->xDelete = [](sqlite3_vfs* v, const char* name, int sync) { return Base(v)->xDelete(Base(v), name, sync); };
    vfs_->xAccess = [](sqlite3_vfs* v, const char* name, int flags, int* out) {
        return Base(v)->xAccess(Base(v), name, flags, out);
    };
    vfs_->xFullPathname = [](sqlite3_vfs* v, const char* name, int size, char* out) {
        return Base(v)->xFullPathname(Base(v), name, size, out);
    };
    vfs_->xDlOpen = [](sqlite3_vfs* v, const char* name) { return Base(v)->xDlOpen(Base(v), name); };
    vfs_->xDlError = [](sqlite3_vfs* v, int size, char* out) { Base(v)->xDlError(Base(v), size, out); };
    vfs_->xDlSym = [](sqlite3_vfs* v, void* library, const char* symbol) {
        return Base(v)->xDlSym(Base(v), library, symbol);
    };
    vfs_->xDlClose = [](sqlite3_vfs* v, void* library) { Base(v)->xDlClose(Base(v), library); };
    vfs_->xRandomness = [](sqlite3_vfs* v, int size, char* out) { return Base(v)->xRandomness(Base(v), size, out); };
    vfs_->xSleep = [](sqlite3_vfs* v, int micros) { return Base(v)->xSleep(Base(v), micros); };
    vfs_->xCurrentTime = [](sqlite3_vfs* v, double* now) { return Base(v)->xCurrentTime(Base(v), now); };
    vfs_->xGetLastError = GetLastError;
    if (vfs_->iVersion >= 2)
        vfs_->xCurrentTimeInt64 = [](sqlite3_vfs* v, sqlite3_int64* now) {
            return Base(v)->xCurrentTimeInt64(Base(v), now);
        };
    if (vfs_->iVersion >= 3) {
        vfs_->xSetSystemCall = [](sqlite3_vfs* v, const char* name, sqlite3_syscall_ptr call) {
            return Base(v)->xSetSystemCall(Base(v), name, call);
        };
        vfs_->xGetSystemCall = [](sqlite3_vfs* v, const char* name) { return Base(v)->xGetSystemCall(Base(v), name); };
        vfs_->xNextSystemCall = [](sqlite3_vfs* v, const char* name) {
            return Base(v)->xNextSystemCall(Base(v), name);
        };
    }
    sqlite3_vfs_register(vfs_, 1);
}

FaultyDisk::~FaultyDisk()
{
    sqlite3_vfs_unregister(vfs_);
    sqlite3_vfs_register(StateOf(vfs_).base, 1);
    delete &StateOf(vfs_);
    delete vfs_;
}

void FaultyDisk::FillAfter(long long bytes)
{
    StateOf(vfs_).room = bytes;
}

void FaultyDisk::MakeReadOnly(const QString& databasePath)
{
    StateOf(vfs_).readOnlyPath = databasePath;
}

long long FaultyDisk::Written() const
{
    return StateOf(vfs_).written;
}

const QStringList& FaultyDisk::Opened() const
{
    return StateOf(vfs_).opened;
}

} // namespace testing_support
