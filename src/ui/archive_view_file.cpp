#include "ui/archive_view_file.h"

#include <cstdint>
#include <vector>

#include "platform/charset.h"
#include "platform/file_system.h"
#include "store/code_tables.h"
#include "store/record_codec.h"

namespace orgalink::ui {

ArchiveView ViewArchiveFile(const std::string& path, const std::string& tableDirectory) {
  std::vector<std::uint8_t> file;
  std::string reason;
  if (!platform::ReadWholeFile(path, file, &reason)) {
    return ArchiveView::Unreadable(path + ": cannot read the file: " + reason + "\n");
  }
  store::CodeTable outgoing{};
  store::CodeTable incoming{};
  store::LoadCodeTables(tableDirectory, outgoing, incoming);
  platform::Charset charset{std::string(platform::DefaultCharset)};
  store::RecordCodec codec(incoming, outgoing, charset);
  return ArchiveView(file, codec);
}

}  // namespace orgalink::ui
