#include "tools/output_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

namespace kaldra {

namespace {

std::string Directory(const std::string& path) {
  const std::filesystem::path parent = std::filesystem::path(path).parent_path();
  return parent.empty() ? std::string(".") : parent.string();
}

std::string Failure(const std::string& what, const std::string& path, int error) {
  return "cannot " + what + " '" + path + "': " + std::strerror(error);
}

// Creates a fresh temporary file next to `path`, hidden and named after it.
// O_EXCL never reuses a name that exists; mode 0666 lets the umask decide the
// final permissions, as for any new file.
int CreateTemporary(const std::string& path, std::string& temp_path) {
  const std::filesystem::path target(path);
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::string name = "." + target.filename().string() + ".tmp" +
                             std::to_string(::getpid()) + "-" + std::to_string(attempt);
    temp_path = (target.parent_path() / name).string();
    const int fd = ::open(temp_path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  errno = EEXIST;
  return -1;
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
  // On disk before the rename, so a crash leaves the old file or the new one.
  if (::fsync(fd) != 0) return std::string(std::strerror(errno));
  return std::nullopt;
}

}  // namespace

std::optional<std::string> CheckOutputPath(const std::string& path) {
  const std::string dir = Directory(path);
  struct stat info {};
  if (::stat(dir.c_str(), &info) != 0) return Failure("write into", dir, errno);
  if (!S_ISDIR(info.st_mode)) return "cannot write into '" + dir + "': not a directory";
  if (::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) {
    return "cannot write '" + path + "': it is a directory";
  }
  return std::nullopt;
}

std::optional<std::string> WriteFilesWhole(const std::vector<OutputFile>& files) {
  std::vector<std::string> temps;
  auto remove_temps = [&temps] {
    for (const std::string& t : temps) ::unlink(t.c_str());
  };
  for (const OutputFile& file : files) {
    std::string temp;
    const int fd = CreateTemporary(file.path, temp);
    if (fd < 0) {
      const int error = errno;
      remove_temps();
      return Failure("write", file.path, error);
    }
    temps.push_back(temp);
    std::optional<std::string> problem = WriteAll(fd, file.contents);
    if (::close(fd) != 0 && !problem) problem = std::string(std::strerror(errno));
    if (problem) {
      remove_temps();
      return "cannot write '" + file.path + "': " + *problem;
    }
  }
  for (std::size_t k = 0; k < files.size(); ++k) {
    if (::rename(temps[k].c_str(), files[k].path.c_str()) != 0) {
      const int error = errno;
      temps.erase(temps.begin(), temps.begin() + static_cast<std::ptrdiff_t>(k));
      remove_temps();
      return Failure("write", files[k].path, error);
    }
  }
  return std::nullopt;
}

}  // namespace kaldra
