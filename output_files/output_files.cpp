#include "output_files/output_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>

namespace kaldra {

namespace fs = std::filesystem;

namespace {

std::string Failure(const std::string& what, const std::string& path, int error) {
  return "cannot " + what + " '" + path + "': " + std::strerror(error);
}

// The file a path names once the symbolic links at its end are followed; a
// dangling link gives the path it points to.
// Empty, with errno set, when the links go round in a loop.
std::string FollowLinks(const std::string& path) {
  fs::path p(path);
  for (int depth = 0; depth < 40; ++depth) {
    std::error_code error;
    if (!fs::is_symlink(fs::symlink_status(p, error))) return p.string();
    const fs::path target = fs::read_symlink(p, error);
    if (error) return p.string();
    p = target.is_absolute() ? target : p.parent_path() / target;
  }
  errno = ELOOP;
  return {};
}

std::string Folder(const std::string& path) {
  const fs::path parent = fs::path(path).parent_path();
  return parent.empty() ? std::string(".") : parent.string();
}

// What makes two outputs the same file: the device and inode of one that
// exists, else the path with every link and ".." resolved.
std::string Identity(const struct stat& info) {
  return "inode " + std::to_string(info.st_dev) + ":" + std::to_string(info.st_ino);
}

// Why one output path cannot be written, or nullopt; sets `identity`.
std::optional<std::string> CheckOne(const std::string& path, std::string& identity) {
  struct stat info {};
  const bool exists = ::stat(path.c_str(), &info) == 0;
  if (!exists && errno != ENOENT) return Failure("write", path, errno);
  if (exists && S_ISDIR(info.st_mode)) return "cannot write '" + path + "': it is a directory";
  if (exists && ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0) {
    return Failure("write", path, errno);
  }
  if (exists) identity = Identity(info);
  if (exists && !S_ISREG(info.st_mode)) return std::nullopt;  // written directly, in place

  // A regular file is replaced by a new one made in the folder of the file
  // the links lead to.
  const std::string target = FollowLinks(path);
  if (target.empty()) return Failure("write", path, errno);
  const std::string folder = Folder(target);
  struct stat folder_info {};
  if (::stat(folder.c_str(), &folder_info) != 0) return Failure("write into", folder, errno);
  if (!S_ISDIR(folder_info.st_mode)) return "cannot write into '" + folder + "': not a directory";
  if (::faccessat(AT_FDCWD, folder.c_str(), W_OK | X_OK, AT_EACCESS) != 0) {
    return Failure("write into", folder, errno);
  }
  // In a sticky folder (/tmp) only the owner of a file may replace it.
  const uid_t user = ::geteuid();
  if (exists && (folder_info.st_mode & S_ISVTX) != 0 && user != 0 && info.st_uid != user &&
      folder_info.st_uid != user) {
    return Failure("replace", path, EPERM);
  }
  if (!exists) {
    std::error_code error;
    identity = "path " + fs::weakly_canonical(fs::absolute(target), error).string();
  }
  return std::nullopt;
}

std::optional<std::string> WriteAll(int fd, const std::string& contents) {
  std::size_t done = 0;
  while (done < contents.size()) {
    const ssize_t n = ::write(fd, contents.data() + done, contents.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return std::string(std::strerror(errno));
    }
    done += static_cast<std::size_t>(n);
  }
  return std::nullopt;
}

// Standard output, or a file that is not a regular one, written in place.
std::optional<std::string> WriteDirectly(const OutputFile& file) {
  if (file.path == "-") {
    std::fflush(stdout);
    if (auto problem = WriteAll(STDOUT_FILENO, file.contents)) {
      return "cannot write to standard output: " + *problem;
    }
    return std::nullopt;
  }
  const int fd = ::open(file.path.c_str(), O_WRONLY | O_CLOEXEC);
  if (fd < 0) return Failure("write", file.path, errno);
  std::optional<std::string> problem = WriteAll(fd, file.contents);
  if (::close(fd) != 0 && !problem) problem = std::string(std::strerror(errno));
  if (problem) return "cannot write '" + file.path + "': " + *problem;
  return std::nullopt;
}

// A regular file's new contents, written beside the file the path's links
// lead to under a temporary name, and renamed onto it by Commit: until then
// the old file is untouched, and a file never committed is removed.
class PendingFile {
 public:
  explicit PendingFile(const std::string& path) : path_(path), target_(FollowLinks(path)) {}
  PendingFile(const PendingFile&) = delete;
  PendingFile& operator=(const PendingFile&) = delete;
  ~PendingFile() {
    if (!temporary_.empty()) ::unlink(temporary_.c_str());
  }

  std::optional<std::string> Write(const std::string& contents) {
    if (target_.empty()) return Failure("write", path_, errno);
    // An existing file keeps its permissions; a new one gets the usual ones.
    struct stat info {};
    mode_t mode = 0;
    if (::stat(target_.c_str(), &info) == 0) {
      mode = info.st_mode & 07777;
    } else {
      const mode_t mask = ::umask(0);
      ::umask(mask);
      mode = 0666 & ~mask;
    }
    std::string name = target_ + ".XXXXXX";
    const int fd = ::mkstemp(name.data());
    if (fd < 0) return Failure("write", path_, errno);
    temporary_ = name;
    std::optional<std::string> problem = WriteAll(fd, contents);
    if (!problem && ::fchmod(fd, mode) != 0) problem = std::string(std::strerror(errno));
    if (!problem && ::fsync(fd) != 0) problem = std::string(std::strerror(errno));
    if (::close(fd) != 0 && !problem) problem = std::string(std::strerror(errno));
    if (problem) return "cannot write '" + path_ + "': " + *problem;
    return std::nullopt;
  }

  std::optional<std::string> Commit() {
    if (::rename(temporary_.c_str(), target_.c_str()) != 0) return Failure("write", path_, errno);
    temporary_.clear();
    return std::nullopt;
  }

 private:
  std::string path_;
  std::string target_;
  std::string temporary_;
};

bool IsExistingNonRegular(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode);
}

}  // namespace

std::optional<std::string> CheckOutputs(const std::vector<OutputTarget>& targets) {
  std::vector<std::string> identities;
  for (std::size_t a = 0; a < targets.size(); ++a) {
    const OutputTarget& target = targets[a];
    std::string& identity = identities.emplace_back();
    if (target.path == "-") {
      identity = "standard output";
    } else if (auto problem = CheckOne(target.path, identity)) {
      return problem;
    }
    for (std::size_t b = 0; b < a; ++b) {
      if (identities[b] != identity) continue;
      if (identity == "standard output") {
        return targets[b].option + " and " + target.option + " both write to standard output";
      }
      return targets[b].option + " and " + target.option + " name the same file";
    }
  }
  return std::nullopt;
}

std::optional<std::string> WriteOutputs(const std::vector<OutputFile>& files) {
  std::vector<std::unique_ptr<PendingFile>> regular;
  std::vector<const OutputFile*> direct;
  for (const OutputFile& file : files) {
    if (file.path == "-" || IsExistingNonRegular(file.path)) {
      direct.push_back(&file);
      continue;
    }
    regular.push_back(std::make_unique<PendingFile>(file.path));
    if (auto problem = regular.back()->Write(file.contents)) return problem;
  }
  for (const OutputFile* file : direct) {
    if (auto problem = WriteDirectly(*file)) return problem;
  }
  for (const auto& pending : regular) {
    if (auto problem = pending->Commit()) return problem;
  }
  return std::nullopt;
}

}  // namespace kaldra
