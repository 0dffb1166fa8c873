#include "link/comm_log.h"

#include <atomic>
#include <cstdio>
#include <memory>

#include "link/text_format.h"

namespace orgalink::link {
namespace {

// Tick of the last absolute stamp, shared by every engine of the process;
// 0 means no stamp has been written yet.
std::atomic<platform::Tick> time_reference{0};

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

File OpenForAppend(const std::string& file_name) {
  return File(std::fopen(file_name.c_str(), "ab"));
}

std::string WithCrLf(std::string_view text) {
  std::string out;
  out.reserve(text.size() + 8);
  for (char c : text) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

std::string Header(platform::Clock& clock, bool force_stamp) {
  const platform::Tick now = clock.Now();
  const platform::Tick reference = time_reference.load();
  if (reference == 0 || force_stamp) {
    time_reference.store(now == 0 ? 1 : now);
    return "{" + clock.LocalTime("%d/%m/%y %H:%M:%S") + "}\r\n";
  }
  return Format("{+%07d}", static_cast<int>(now - reference));
}

}  // namespace

int LogLine(platform::Clock& clock, const std::string& file_name, std::string_view text,
            bool force_stamp) {
  if (file_name.empty()) return 1;
  const std::string entry = Header(clock, force_stamp) + WithCrLf(text);
  File file = OpenForAppend(file_name);
  if (!file) return 0;
  if (std::fwrite(entry.data(), 1, entry.size(), file.get()) != entry.size()) return 0;
  return std::fclose(file.release()) == 0 ? 1 : 0;
}

int LogHexDump(const std::string& file_name, const std::uint8_t* bytes, int count) {
  if (file_name.empty()) return 1;
  std::string dump = "[ ";
  for (int i = 0; i < count; ++i) dump += Format("%02x ", bytes[i]);
  dump += "]\r\n";
  File file = OpenForAppend(file_name);
  if (!file) return 0;
  if (std::fwrite(dump.data(), 1, dump.size(), file.get()) != dump.size()) return 0;
  return std::fclose(file.release()) == 0 ? 1 : 0;
}

void ResetLogTimeReference() {
  time_reference.store(0);
}

}  // namespace orgalink::link
