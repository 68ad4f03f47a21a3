#include "platform/StoredFile.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
TSaveFault& Fault()
{
    static TSaveFault fault;
    return fault;
}

// 0 when the step may go on, else the error it fails with.
int StepError(TSaveStep step)
{
    return Fault() ? Fault()(step) : 0;
}

QString Reason(int error)
{
    return qt_error_string(error);
}

// "<name>.XXXXXX": six letters with a lower-case one and an upper-case one after the first, the form that a
// later save recognises and removes when a kill left it behind.
QByteArray TemporaryName(const QByteArray& target, int attempt)
{
    static const char lower[] = "abcdefghijklmnopqrstuvwxyz";
    static const char upper[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    quint64 seed = quint64(::getpid()) * 0x9E3779B97F4A7C15ull ^ quint64(attempt) * 0xBF58476D1CE4E5B9ull ^
                   quint64(reinterpret_cast<quintptr>(&target)) ^ quint64(::time(nullptr));
    QByteArray suffix(6, 'a');
    for (int i = 0; i < 6; ++i) {
        seed = seed * 6364136223846793005ull + 1442695040888963407ull;
        const unsigned r = unsigned(seed >> 33);
        suffix[i] = (r & 1) ? upper[(r >> 1) % 26] : lower[(r >> 1) % 26];
    }
    suffix[0] = lower[uint8_t(suffix[0]) % 26];
    suffix[3] = upper[uint8_t(suffix[3]) % 26];
    return target + '.' + suffix;
}

bool WriteAllBytes(int fd, const QByteArray& bytes)
{
    const char* p = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, size_t(left));
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (n == 0) {
            errno = ENOSPC;
            return false;
        }
        p += n;
        left -= n;
    }
    return true;
}

QByteArray NativeName(const QString& fileName, const QByteArray& nativePath)
{
    return nativePath.isEmpty() ? QFile::encodeName(fileName) : nativePath;
}
} // namespace

void SetSaveFault(TSaveFault fault)
{
    Fault() = std::move(fault);
}

bool SaveWholeFile(const QString& fileName, const QByteArray& bytes, QString& reason)
{
    reason.clear();
    // A link is followed: the file it names is replaced and the link stays.
    QByteArray target = QFile::encodeName(fileName);
    const QFileInfo info(fileName);
    if (info.isSymLink() && info.exists()) target = QFile::encodeName(info.canonicalFilePath());
    struct stat old;
    const bool hadFile = ::stat(target.constData(), &old) == 0;

    int fd = -1;
    QByteArray temporary;
    int error = 0;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temporary = TemporaryName(target, attempt);
        fd = ::open(temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST) break;
    }
    if (fd < 0) error = errno;
    if (!error) error = StepError(TSaveStep::Opened);
    if (!error && hadFile) (void)::fchmod(fd, old.st_mode & 07777); // the old file's permissions stay
    if (!error && !WriteAllBytes(fd, bytes)) error = errno;
    if (!error) error = StepError(TSaveStep::Written);
    // A small file sits in the system's cache until here: a full disk may only show now.
    if (!error && ::fsync(fd) != 0) error = errno;
    if (!error) error = StepError(TSaveStep::Flushed);
    struct stat written;
    if (!error && ::fstat(fd, &written) != 0) error = errno;
    if (!error && written.st_size != bytes.size()) error = EIO;
    if (fd >= 0 && ::close(fd) != 0 && !error) error = errno;
    if (!error) error = StepError(TSaveStep::Committing);
    if (!error && ::rename(temporary.constData(), target.constData()) != 0) error = errno;
    if (error) {
        if (fd >= 0) ::unlink(temporary.constData());
        reason = Reason(error);
        return false;
    }
    // The rename itself reaches the disk with the folder.
    const QByteArray folder = QFile::encodeName(QFileInfo(QFile::decodeName(target)).absolutePath());
    const int dir = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        (void)::fsync(dir);
        ::close(dir);
    }
    return true;
}

TReadResult ReadStoredFile(const QString& fileName, qint64 maxBytes, QByteArray& bytes, QString& reason,
                           const QByteArray& nativePath)
{
    bytes.clear();
    reason.clear();
    // Without O_NONBLOCK, opening a FIFO waits for a writer that never comes.
    const int fd = ::open(NativeName(fileName, nativePath).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        const int error = errno;
        reason = Reason(error);
        return error == ENOENT ? TReadResult::Missing : TReadResult::Failed;
    }
    struct stat st;
    TReadResult result = TReadResult::Ok;
    if (::fstat(fd, &st) != 0) {
        reason = Reason(errno);
        result = TReadResult::Failed;
    } else if (!S_ISREG(st.st_mode)) {
        reason = Reason(S_ISDIR(st.st_mode) ? EISDIR : EINVAL);
        result = TReadResult::NotRegular;
    } else if (maxBytes >= 0 && st.st_size > maxBytes) {
        reason = Reason(EFBIG);
        result = TReadResult::TooLarge;
    } else {
        const int flags = ::fcntl(fd, F_GETFL);
        if (flags >= 0) ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
        bytes.reserve(qsizetype(st.st_size));
        char buffer[65536];
        for (;;) {
            const ssize_t n = ::read(fd, buffer, sizeof buffer);
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) {
                reason = Reason(errno);
                result = TReadResult::Failed;
                break;
            }
            if (n == 0) break;
            // A file that grows while it is read is still held to the limit.
            if (maxBytes >= 0 && bytes.size() + n > maxBytes) {
                reason = Reason(EFBIG);
                result = TReadResult::TooLarge;
                break;
            }
            bytes.append(buffer, n);
        }
    }
    ::close(fd);
    if (result != TReadResult::Ok) bytes.clear();
    return result;
}

bool IsRegularFile(const QString& fileName, const QByteArray& nativePath)
{
    struct stat st;
    return ::stat(NativeName(fileName, nativePath).constData(), &st) == 0 && S_ISREG(st.st_mode);
}
