#include "platform/files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/text.h"

namespace vollo {

namespace {

void setError(std::string* error) {
    if (error) {
        *error = std::strerror(errno);
    }
}

bool writeAll(int fd, const char* data, size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        data += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

}  // namespace

std::optional<std::string> readFileBytes(const std::string& path, std::string* error) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        setError(error);
        return std::nullopt;
    }
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
        ::close(fd);
        errno = EISDIR;
        setError(error);
        return std::nullopt;
    }
    std::string bytes;
    if (st.st_size > 0) {
        bytes.reserve(static_cast<size_t>(st.st_size));
    }
    char buffer[1 << 16];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            setError(error);
            ::close(fd);
            return std::nullopt;
        }
        if (n == 0) {
            break;
        }
        bytes.append(buffer, static_cast<size_t>(n));
    }
    ::close(fd);
    return bytes;
}

std::vector<std::string> splitLines(const std::string& bytes) {
    std::vector<std::string> lines;
    forEachLine(bytes, [&lines](std::string_view line) { lines.emplace_back(line); });
    return lines;
}

std::optional<std::vector<std::string>> readTextLines(const std::string& path, std::string* error) {
    auto bytes = readFileBytes(path, error);
    if (!bytes) {
        return std::nullopt;
    }
    return splitLines(*bytes);
}

bool writeFileAtomic(const std::string& path, const std::string& bytes, std::string* error) {
    const size_t slash = path.rfind('/');
    const std::string dir = slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
    const std::string base = slash == std::string::npos ? path : path.substr(slash + 1);
    std::string temp = (dir == "/" ? "" : dir) + "/." + base + ".XXXXXX";
    std::vector<char> name(temp.begin(), temp.end());
    name.push_back('\0');
    const int fd = ::mkstemp(name.data());
    if (fd < 0) {
        setError(error);
        return false;
    }
    const bool written = writeAll(fd, bytes.data(), bytes.size()) && ::fsync(fd) == 0;
    const int savedErrno = errno;
    // Keep the permissions an existing file had; a new one gets the usual 0644.
    struct stat st {};
    ::fchmod(fd, ::stat(path.c_str(), &st) == 0 ? (st.st_mode & 07777) : 0644);
    if (::close(fd) != 0 || !written) {
        errno = written ? errno : savedErrno;
        setError(error);
        ::unlink(name.data());
        return false;
    }
    if (::rename(name.data(), path.c_str()) != 0) {
        setError(error);
        ::unlink(name.data());
        return false;
    }
    return true;
}

bool writeTextLinesAtomic(const std::string& path, const std::vector<std::string>& lines,
                          std::string* error) {
    std::string bytes;
    size_t total = 0;
    for (const auto& line : lines) {
        total += line.size() + 2;
    }
    bytes.reserve(total);
    for (const auto& line : lines) {
        bytes += line;
        bytes += "\r\n";
    }
    return writeFileAtomic(path, bytes, error);
}

namespace {

// Calls onEntry(name) for each non-hidden entry of dir whose type (links
// followed) keep accepts; false when dir cannot be opened.
template <class Keep, class OnEntry>
bool forEachEntry(const std::string& dir, Keep keep, OnEntry&& onEntry) {
    DIR* d = ::opendir(dir.empty() ? "." : dir.c_str());
    if (!d) {
        return false;
    }
    const int dfd = ::dirfd(d);
    while (const dirent* entry = ::readdir(d)) {
        if (entry->d_name[0] == '.') {
            continue;  // hidden files, "." and ".."
        }
        unsigned char type = entry->d_type;
        if (type == DT_UNKNOWN || type == DT_LNK) {
            struct stat st {};
            if (::fstatat(dfd, entry->d_name, &st, 0) != 0) {
                continue;
            }
            type = S_ISREG(st.st_mode) ? DT_REG : (S_ISDIR(st.st_mode) ? DT_DIR : DT_UNKNOWN);
        }
        if (keep(type)) {
            onEntry(std::string_view(entry->d_name));
        }
    }
    ::closedir(d);
    return true;
}

bool isFile(unsigned char type) {
    return type == DT_REG;
}
bool isFolder(unsigned char type) {
    return type == DT_DIR;
}

}  // namespace

bool forEachFile(const std::string& dir, const std::function<void(std::string_view name)>& onFile) {
    return forEachEntry(dir, isFile, onFile);
}

std::vector<std::string> listFiles(const std::string& dir) {
    std::vector<std::string> names;
    forEachEntry(dir, isFile, [&names](std::string_view name) { names.emplace_back(name); });
    return names;
}

std::vector<std::string> listSubdirectories(const std::string& dir) {
    std::vector<std::string> names;
    forEachEntry(dir, isFolder, [&names](std::string_view name) { names.emplace_back(name); });
    std::sort(names.begin(), names.end(), sortedLess);
    return names;
}

bool isDirectory(const std::string& path) {
    struct stat st {};
    return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool isRegularFile(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool removeFile(const std::string& path) {
    return ::unlink(path.c_str()) == 0;
}

std::string currentDirectory() {
    std::string buffer(4096, '\0');
    while (::getcwd(buffer.data(), buffer.size()) == nullptr) {
        if (errno != ERANGE) {
            return ".";
        }
        buffer.resize(buffer.size() * 2);
    }
    buffer.resize(std::strlen(buffer.c_str()));
    return buffer;
}

std::string absolutePath(const std::string& path) {
    if (startsWith(path, "/")) {
        return path;
    }
    const std::string cwd = currentDirectory();
    return (cwd == "/" ? "" : cwd) + "/" + path;
}

std::vector<std::string> mountPoints() {
    std::vector<std::string> points{"/"};
    const auto lines = readTextLines("/proc/self/mounts");
    if (!lines) {
        return points;
    }
    for (const auto& line : *lines) {
        // device mountpoint type options ...; blanks in names are written as \040.
        const size_t a = line.find(' ');
        if (a == std::string::npos) {
            continue;
        }
        const size_t b = line.find(' ', a + 1);
        std::string raw = line.substr(a + 1, b == std::string::npos ? std::string::npos : b - a - 1);
        std::string point;
        for (size_t i = 0; i < raw.size(); ++i) {
            if (raw[i] == '\\' && i + 3 < raw.size()) {
                const std::string octal = raw.substr(i + 1, 3);
                if (octal.size() == 3 && octal.find_first_not_of("01234567") == std::string::npos) {
                    point += static_cast<char>(std::stoi(octal, nullptr, 8));
                    i += 3;
                    continue;
                }
            }
            point += raw[i];
        }
        const std::string type =
            b == std::string::npos ? "" : line.substr(b + 1, line.find(' ', b + 1) - b - 1);
        static const char* const pseudo[] = {
            "proc",        "sysfs",      "devpts",  "tmpfs", "cgroup",     "cgroup2",   "mqueue",   "debugfs",
            "tracefs",     "securityfs", "pstore",  "bpf",   "autofs",     "hugetlbfs", "configfs", "fusectl",
            "binfmt_misc", "devtmpfs",   "overlay", "nsfs",  "rpc_pipefs", "efivarfs"};
        if (std::find(std::begin(pseudo), std::end(pseudo), type) != std::end(pseudo)) {
            continue;
        }
        if (std::find(points.begin(), points.end(), point) == points.end() && isDirectory(point)) {
            points.push_back(point);
        }
    }
    return points;
}

}  // namespace vollo
