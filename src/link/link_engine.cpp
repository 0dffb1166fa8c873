#include "link/link_engine.h"

#include <cstdarg>
#include <filesystem>

#include "link/comm_log.h"
#include "link/text_format.h"
#include "store/appli_store.h"

namespace orgalink::link {

LinkEngine::LinkEngine(platform::Clock& clock) : clock_(clock) {}

LinkEngine::~LinkEngine() {
  ClosePort();
}

void LinkEngine::SetStatus(int code, int port) {
  if (status_ < -1 || status_ > LinkOk) {
    status_ = LinkPortError;
  } else if (port == -1) {
    status_ = code;
  } else if (port >= 1 && port <= 4) {
    status_ = code == LinkOk ? port : LinkTimeout + port;
  } else {
    status_ = LinkPortError;
  }
}

void LinkEngine::SetDeviceCode(int device_code) {
  const std::uint8_t high = device_code == 1 ? 1 : 2;
  const std::uint8_t low = 0;
  if (store_ != nullptr) {
    store_->SetDeviceCode(high, low);
  } else {
    Log("!!! SetDeviceCode Err (Pass)");
  }
  device_code_[0] = high;
  device_code_[1] = low;
}

void LinkEngine::SetBaudRate(std::string_view text) {
  static constexpr struct {
    std::string_view text;
    int rate;
  } kRates[] = {
      {"9600", 9600}, {"19200", 19200}, {"38400", 38400}, {"57600", 57600}, {"115200", 115200}};
  baud_rate_ = 19200;
  for (const auto& entry : kRates) {
    if (entry.text == text) baud_rate_ = entry.rate;
  }
}

void LinkEngine::SetAppliMode(std::string_view text) {
  static constexpr struct {
    std::string_view name;
    int kind;
  } kModes[] = {{"ALL", AllApplis}, {"Schedule", 0}, {"Anniversary", 1}, {"To Do", 2},
                {"Memo", 3},        {"Expense", 4},  {"Telephone", 5},   {"Expense Category", 6}};
  for (const auto& mode : kModes) {
    if (mode.name == text) {
      appli_kind_ = mode.kind;
      return;
    }
  }
  Log("!!! Appli Name Err (Pass)");
}

// Every communication starts a new log. Only a file is removed: a folder
// given by mistake stays, and the log entries then fail on their own.
int LinkEngine::SetLogFileName(const std::string& name) {
  log_file_name_ = name;
  if (name.empty()) return 0;
  std::error_code error;
  if (std::filesystem::is_directory(name, error)) return 0;
  return std::filesystem::remove(name, error) ? 1 : 0;
}

void LinkEngine::SetTimeouts(long command_ms, long data_packet_ms, long multiplier_ms) {
  to_command_ = command_ms;
  to_data_packet_ = data_packet_ms;
  to_multiplier_ = multiplier_ms;
}

void LinkEngine::SetTables(const store::SortTable* weights, const store::CodeTable* incoming) {
  sort_weights_ = weights;
  incoming_table_ = incoming;
}

int LinkEngine::Log(std::string_view text, bool force_stamp) {
  if (log_file_name_.empty()) return 1;
  return LogLine(clock_, log_file_name_, text, force_stamp);
}

int LinkEngine::LogFormat(const char* format, ...) {
  if (log_file_name_.empty()) return 1;
  std::va_list args;
  va_start(args, format);
  const std::string text = FormatV(format, args);
  va_end(args);
  return Log(text);
}

}  // namespace orgalink::link
