// SPDX-License-Identifier: GPL-3.0-or-later
#include "inspect_json.h"

#include <nlohmann/json.hpp>
#include <ostream>

#include "store/archive.h"
#include "store/checked_archive.h"

namespace orgalink::cli {

namespace {

// Keys keep the order in which docs/json-output.md lists them.
using json = nlohmann::ordered_json;

json Describe(const std::string& path, std::size_t size, const store::ArchiveImage& image) {
  json sections = json::array();
  for (const store::ArchiveSection& section : image.sections) {
    sections.push_back({{"application", store::ApplicationName(section.application)},
                        {"code", section.application},
                        {"records", section.count},
                        {"bytes", section.length}});
  }
  return {{"archive", path},
          {"size", size},
          {"magic", std::string(image.magic.begin(), image.magic.end())},
          {"inverted", image.inverted},
          {"deviceCode", {image.device[0], image.device[1]}},
          {"sections", sections}};
}

}  // namespace

int InspectArchiveJson(const std::string& path, std::ostream& out, std::ostream& err) {
  store::CheckedArchive archive;
  store::ReadArchiveFile(path, archive);
  if (archive.parsed) out << Describe(path, archive.size, archive.image).dump(2) << '\n';
  if (archive.message.empty()) return 0;
  err << archive.message << '\n';
  return 1;
}

}  // namespace orgalink::cli
