#include "platform/linux/PosixPrivateFolder.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace kivaro {

namespace {

// Deeper trees than this in our own folder were not made by us; they are left alone and the
// folder is then refused, rather than risking the stack.
constexpr int deepestRemoval = 16;
constexpr mode_t ownerOnly = 0700;

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    FileDescriptor(FileDescriptor&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    FileDescriptor& operator=(FileDescriptor&&) = delete;

    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    // Closes now, reporting whether the last writes reached the file.
    bool close() {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

private:
    int fd_;
};

bool isPlainName(const QString& name) {
    return !name.isEmpty() && name != u"." && name != u".." && !name.contains(u'/') &&
           !name.contains(QChar(0));
}

FileDescriptor openFolderAt(int at, const QByteArray& name) {
    return FileDescriptor(
        ::openat(at, name.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
}

// Our folder, created when missing; refused when it is a link, not a folder or someone
// else's, and closed to others when it is ours but open.
FileDescriptor openOwnFolder(const QString& parent, const QString& name) {
    const FileDescriptor parentFolder(
        ::open(QFile::encodeName(parent).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!parentFolder.valid())
        return FileDescriptor(-1);
    const QByteArray encoded = QFile::encodeName(name);
    if (::mkdirat(parentFolder.get(), encoded.constData(), ownerOnly) != 0 && errno != EEXIST)
        return FileDescriptor(-1);
    FileDescriptor folder = openFolderAt(parentFolder.get(), encoded);
    struct stat info {};
    if (!folder.valid() || ::fstat(folder.get(), &info) != 0)
        return FileDescriptor(-1);
    if (!S_ISDIR(info.st_mode) || info.st_uid != ::geteuid())
        return FileDescriptor(-1);
    if ((info.st_mode & 077) != 0 && ::fchmod(folder.get(), ownerOnly) != 0)
        return FileDescriptor(-1);
    return folder;
}

std::vector<QByteArray> entryNames(int folder) {
    std::vector<QByteArray> names;
    const int listing = ::dup(folder);
    if (listing < 0)
        return names;
    DIR* dir = ::fdopendir(listing);
    if (dir == nullptr) {
        ::close(listing);
        return names;
    }
    while (const dirent* entry = ::readdir(dir)) {
        const QByteArray name(entry->d_name);
        if (name != "." && name != "..")
            names.push_back(name);
    }
    ::closedir(dir);
    return names;
}

// Removes `name` inside `at`: a link or a file is unlinked (its target is never touched), a
// folder is emptied depth-first and removed.
void removeEntry(int at, const QByteArray& name, int depth) {
    if (::unlinkat(at, name.constData(), 0) == 0 || errno == ENOENT || depth > deepestRemoval)
        return;
    const FileDescriptor folder = openFolderAt(at, name);
    if (!folder.valid())
        return;
    for (const QByteArray& entry : entryNames(folder.get()))
        removeEntry(folder.get(), entry, depth + 1);
    ::unlinkat(at, name.constData(), AT_REMOVEDIR);
}

// The source, only when it is a regular file: opening a pipe without O_NONBLOCK would wait
// for a writer forever.
FileDescriptor openRegularFile(const QString& path) {
    FileDescriptor file(
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    struct stat info {};
    if (!file.valid() || ::fstat(file.get(), &info) != 0 || !S_ISREG(info.st_mode))
        return FileDescriptor(-1);
    return file;
}

bool writeAll(int fd, const char* data, ssize_t size) {
    while (size > 0) {
        const ssize_t written = ::write(fd, data, static_cast<size_t>(size));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        data += written;
        size -= written;
    }
    return true;
}

bool copyBytes(int from, int to) {
    std::vector<char> buffer(1 << 16);
    for (;;) {
        const ssize_t got = ::read(from, buffer.data(), buffer.size());
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return got == 0;
        if (!writeAll(to, buffer.data(), got))
            return false;
    }
}

} // namespace

PosixPrivateFolder::PosixPrivateFolder(QString parent, QString name)
    : parent_(std::move(parent)), name_(std::move(name)) {}

std::optional<QString> PosixPrivateFolder::freshFolder(const QString& name) const {
    if (!isPlainName(name) || !isPlainName(name_))
        return std::nullopt;
    const FileDescriptor own = openOwnFolder(parent_, name_);
    if (!own.valid())
        return std::nullopt;
    const QByteArray encoded = QFile::encodeName(name);
    removeEntry(own.get(), encoded, 0);
    if (::mkdirat(own.get(), encoded.constData(), ownerOnly) != 0)
        return std::nullopt;
    return parent_ + u'/' + name_ + u'/' + name;
}

std::optional<QString> PosixPrivateFolder::ownFolder() const {
    if (!isPlainName(name_) || !openOwnFolder(parent_, name_).valid())
        return std::nullopt;
    return parent_ + u'/' + name_;
}

bool PosixPrivateFolder::copyInto(const QString& source, const QString& folder,
                                  const QString& name) const {
    if (!isPlainName(name))
        return false;
    const FileDescriptor from = openRegularFile(source);
    const FileDescriptor into(::open(QFile::encodeName(folder).constData(),
                                     O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (!from.valid() || !into.valid())
        return false;
    const QByteArray encoded = QFile::encodeName(name);
    FileDescriptor to(::openat(into.get(), encoded.constData(),
                               O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
    if (!to.valid())
        return false;
    const bool copied = copyBytes(from.get(), to.get());
    if (to.close() && copied)
        return true;
    ::unlinkat(into.get(), encoded.constData(), 0);
    return false;
}

std::unique_ptr<PosixPrivateFolder> PosixPrivateFolder::forSnapshots() {
    QString parent = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (parent.isEmpty() || !QDir(parent).exists()) {
        parent = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
        QDir().mkpath(parent);
    }
    return std::make_unique<PosixPrivateFolder>(parent, QStringLiteral("kivaro"));
}

} // namespace kivaro
