#include "fileio/binary_library_format.h"

#include <fcntl.h>
#include <unistd.h>

#include "fileio/binary_library_reader.h"
#include "fileio/binary_library_writer.h"
#include "fileio/safe_file_writer.h"

namespace zanli {

bool BinaryLibraryFormat::Read(const std::string& path, Library& library) {
  // A file that cannot be opened leaves the open library alone; once it is
  // open, any failure leaves the library empty.
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  ::close(fd);
  std::string bytes;
  if (!ReadWholeFile(path, bytes)) {
    library.Clear();
    return false;
  }
  return ReadBytes(bytes, library);
}

bool BinaryLibraryFormat::ReadBytes(std::string_view bytes, Library& library) {
  library.Clear();
  if (BinaryLibraryReader(bytes, library).Read()) return true;
  library.Clear();
  return false;
}

BinaryWriteResult BinaryLibraryFormat::Write(const std::string& path, const Library& library) {
  std::string bytes;
  const BinaryWriteResult result = Encode(library, bytes);
  if (result != BinaryWriteResult::Ok) return result;
  SafeFileWriter writer(path);
  if (!writer.Open() || !writer.Write(bytes) || !writer.Commit(BackupPath(path)))
    return BinaryWriteResult::WriteFailed;
  return BinaryWriteResult::Ok;
}

BinaryWriteResult BinaryLibraryFormat::Encode(const Library& library, std::string& out,
                                              BinaryWriteRefusal* refusal) {
  std::string bytes;
  const BinaryWriteResult result = BinaryLibraryWriter(library).Encode(bytes, refusal);
  if (result == BinaryWriteResult::Ok) out = std::move(bytes);
  return result;
}

std::string BinaryLibraryFormat::BackupPath(const std::string& path) {
  const size_t slash = path.rfind('/');
  const size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
  const size_t dot = path.rfind('.');
  const bool hasExtension = dot != std::string::npos && dot >= nameStart;
  return (hasExtension ? path.substr(0, dot) : path) + ".$ib";
}

}  // namespace zanli
