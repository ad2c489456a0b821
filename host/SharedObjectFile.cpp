#include "SharedObjectFile.h"

#include <dlfcn.h>
#include <elf.h>
#include <fcntl.h>
#include <link.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <vector>

#include "SysUtils.h"

namespace host {

namespace {

using Ehdr = ElfW(Ehdr);
using Phdr = ElfW(Phdr);

// The ELF header of the host library as mapped, which is of the kind this
// process loads: no table of machines to keep up to date.
const Ehdr& OwnHeader() {
  static const int anchor = 0;
  Dl_info info{};
  dladdr(&anchor, &info);
  return *static_cast<const Ehdr*>(info.dli_fbase);
}

class ReadOnlyFile {
 public:
  // Non-blocking, so that opening a FIFO does not wait for a writer.
  explicit ReadOnlyFile(const std::string& path)
      : fd_(open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK)) {}
  ~ReadOnlyFile() {
    if (fd_ >= 0) close(fd_);
  }
  ReadOnlyFile(const ReadOnlyFile&) = delete;
  ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;

  bool IsOpen() const { return fd_ >= 0; }
  bool Stat(struct stat& st) const { return fstat(fd_, &st) == 0; }
  bool ReadAt(void* to, std::size_t size, std::uint64_t offset) const {
    return pread(fd_, to, size, static_cast<off_t>(offset)) == static_cast<ssize_t>(size);
  }

 private:
  int fd_;
};

// Whether `count` items of `size` bytes from `offset` lie inside `fileSize`
// bytes, without overflow.
bool Inside(std::uint64_t offset, std::uint64_t count, std::uint64_t size, std::uint64_t fileSize) {
  if (size != 0 && count > fileSize / size) return false;
  return offset <= fileSize - count * size;
}

// The word size of an object, as a message names it.
std::string Bits(const Ehdr& header) {
  return header.e_ident[EI_CLASS] == ELFCLASS32 ? "32" : "64";
}

std::string TypeFault(unsigned type) {
  switch (type) {
    case ET_EXEC:
      return "it is a program, not a shared object";
    case ET_REL:
      return "it is an object file that was never linked, not a shared object";
    default:
      return Format("it is not a shared object (ELF type %d)", {std::int64_t{type}});
  }
}

std::optional<std::string> HeaderFault(const Ehdr& header, std::uint64_t fileSize) {
  const Ehdr& own = OwnHeader();
  if (header.e_ident[EI_CLASS] != own.e_ident[EI_CLASS])
    return Format("it is a %s-bit object; this machine loads %s-bit ones",
                  {Bits(header), Bits(own)});
  if (header.e_ident[EI_DATA] != own.e_ident[EI_DATA])
    return "its byte order is not this machine's";
  if (fileSize < sizeof(Ehdr)) return "it is truncated: its ELF header is incomplete";
  if (header.e_type != ET_DYN) return TypeFault(header.e_type);
  if (header.e_machine != own.e_machine)
    return Format("it is built for another kind of machine (ELF machine %d, this one is %d)",
                  {std::int64_t{header.e_machine}, std::int64_t{own.e_machine}});
  if (header.e_phentsize != sizeof(Phdr) || header.e_phnum == 0 || header.e_phnum == PN_XNUM)
    return "its program headers are malformed";
  // Sizes and offsets are unsigned 64-bit numbers, which %d does not take.
  if (!Inside(header.e_phoff, header.e_phnum, sizeof(Phdr), fileSize))
    return Format("it is truncated: its program headers end beyond the file's %s bytes",
                  {std::to_string(fileSize)});
  return std::nullopt;
}

std::optional<std::string> SegmentFault(const Phdr& segment, std::uint64_t fileSize) {
  if (segment.p_type == PT_INTERP) return "it is a program, not a shared object";
  if (segment.p_type == PT_LOAD && !Inside(segment.p_offset, segment.p_filesz, 1, fileSize))
    return Format("it is truncated: a loadable segment ends at byte %s, beyond the file's %s bytes",
                  {std::to_string(segment.p_offset + segment.p_filesz), std::to_string(fileSize)});
  return std::nullopt;
}

}  // namespace

std::optional<std::string> SharedObjectFault(const std::string& path) {
  const ReadOnlyFile file(path);
  struct stat st {};
  if (!file.IsOpen() || !file.Stat(st)) return std::string(std::strerror(errno));
  if (S_ISDIR(st.st_mode)) return "it is a folder, not a shared object";
  if (!S_ISREG(st.st_mode)) return "it is not a regular file";
  if (st.st_size == 0) return "the file is empty";
  const auto fileSize = static_cast<std::uint64_t>(st.st_size);

  Ehdr header{};
  const std::size_t available = fileSize < sizeof header ? fileSize : sizeof header;
  if (!file.ReadAt(&header, available, 0)) return "it could not be read in full";
  if (available < EI_NIDENT || std::memcmp(header.e_ident, ELFMAG, SELFMAG) != 0)
    return "it is not a shared object (no ELF header)";
  if (auto fault = HeaderFault(header, fileSize)) return fault;

  std::vector<Phdr> segments(header.e_phnum);
  if (!file.ReadAt(segments.data(), segments.size() * sizeof(Phdr), header.e_phoff))
    return "it could not be read in full";
  for (const Phdr& segment : segments)
    if (auto fault = SegmentFault(segment, fileSize)) return fault;
  return std::nullopt;
}

}  // namespace host
