#include "platform/PosixSecurity.h"

#include <pwd.h>
#include <sys/stat.h>

#include <cerrno>
#include <optional>
#include <vector>

#include "platform/SecurityMessages.h"

namespace veldra::platform {
namespace fs = std::filesystem;
using namespace securitymsg;
namespace {

std::optional<uid_t> accountUid(std::string_view account) {
    const std::string name(account);
    std::vector<char> buffer(4096);
    passwd entry{};
    passwd* found = nullptr;
    if (::getpwnam_r(name.c_str(), &entry, buffer.data(), buffer.size(), &found) != 0 || !found) return std::nullopt;
    return found->pw_uid;
}

// The Windows error number the host would report for the same cause.
unsigned long windowsError(int posixError) {
    switch (posixError) {
        case ENOENT:
        case ENOTDIR: return code::FileNotFound;
        case EACCES:
        case EPERM: return code::AccessDenied;
        case EROFS: return 19;          // ERROR_WRITE_PROTECT
        case ENAMETOOLONG: return 206;  // ERROR_FILENAME_EXCED_RANGE
        case ELOOP: return 1921;        // ERROR_CANT_RESOLVE_FILENAME
        default: return 31;             // ERROR_GEN_FAILURE
    }
}

// Full access for the owner: read, write and search for folders; read and
// write for files (execute would make data files runnable).
bool giveOwnerFullAccess(const fs::path& path, mode_t mode) {
    const mode_t wanted = S_ISDIR(mode) ? S_IRWXU : (S_IRUSR | S_IWUSR);
    if ((mode & wanted) == wanted) return true;
    return ::chmod(path.c_str(), (mode & 07777) | wanted) == 0;
}

}  // namespace

std::vector<std::string> PosixSecurity::SetOwner(const fs::path& path, std::string_view account) {
    const auto uid = accountUid(account);
    if (!uid) return {lookupAccountNameFailed(code::NoneMapped)};
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) return {setFileSecurityFailed(windowsError(errno))};
    if (info.st_uid != *uid) return {setFileSecurityFailed(code::AccessDenied)};
    if (!giveOwnerFullAccess(path, info.st_mode)) return {setFileSecurityFailed(windowsError(errno))};
    return {};
}

std::vector<std::string> PosixSecurity::SetFolderRights(const fs::path& path, std::string_view account) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) return {getNamedSecurityInfoFailed(windowsError(errno))};
    const auto uid = accountUid(account);
    if (!uid) return {setEntriesInAclFailed(code::NoneMapped)};
    if (info.st_uid != *uid) return {setNamedSecurityInfoFailed(code::AccessDenied)};
    if (!giveOwnerFullAccess(path, info.st_mode)) return {setNamedSecurityInfoFailed(windowsError(errno))};
    if (!S_ISDIR(info.st_mode)) return {};

    // Inheritance reaches what it can; entries of other owners keep their rights.
    std::error_code ec;
    for (fs::recursive_directory_iterator it(path, fs::directory_options::skip_permission_denied, ec), end;
         !ec && it != end; it.increment(ec)) {
        struct stat entry {};
        if (::lstat(it->path().c_str(), &entry) == 0 && !S_ISLNK(entry.st_mode) && entry.st_uid == *uid)
            giveOwnerFullAccess(it->path(), entry.st_mode);
    }
    return {};
}

}  // namespace veldra::platform
