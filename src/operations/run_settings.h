#pragma once

#include <string>

#include "store/code_tables.h"

namespace orgalink::operations {

// The values the user interface hands to a communication.
struct RunSettings {
  int runMode = 1;
  int deviceCode = 2;
  int comPort = 1;
  std::string baudRate = "19200";
  std::string appliMode = "ALL";
  std::string fileName;
  std::string logFileName;
  int echoBack = 1;
  int fileScramble = 1;
  long toCommand = 30000;     // ms
  long toDataPacket = 30000;  // ms
  long toMultiplier = 0;      // ms per byte
  const store::SortTable* sortTable = nullptr;
  const store::CodeTable* codeTable = nullptr;  // the program-wide incoming table
  int bkTelRecordsMin = 1;
  long quietWindow = 10;  // ms of quiet input before a write
};

}  // namespace orgalink::operations
