// SPDX-License-Identifier: GPL-3.0-or-later
#include "history_json.h"

#include <cstdio>

#include "outcome_json.h"
#include "store/archive.h"

namespace orgalink::cli {

namespace {

using json = OrderedJson;

json Nullable(const std::string& text) {
  return text.empty() ? json(nullptr) : json(text);
}

json Time(const ui::FolderArchive& archive) {
  if (!archive.second) return nullptr;
  char text[16];
  const int second = *archive.second;
  std::snprintf(text, sizeof text, "%02d:%02d:%02d", second / 3600, second / 60 % 60, second % 60);
  return text;
}

json Describe(const ui::HistoryEntry& entry) {
  json applications = json::array();
  for (const ui::HistoryApplication& application : entry.applications) {
    applications.push_back({{"application", store::ApplicationName(application.application)},
                            {"code", application.application},
                            {"records", application.records},
                            {"added", application.added},
                            {"removed", application.removed}});
  }
  const int date = entry.archive.date;
  char day[16];
  std::snprintf(day, sizeof day, "%04d-%02d-%02d", date / 10000, date / 100 % 100, date % 100);
  return {{"archive", entry.path},
          {"name", entry.archive.name},
          {"kind", entry.archive.kind == ui::FolderArchiveKind::Safety ? "safety" : "dated"},
          {"date", day},
          {"time", Time(entry.archive)},
          {"problem", Nullable(entry.problem)},
          {"comparedWith", Nullable(entry.comparedWith)},
          {"applications", applications}};
}

}  // namespace

int PrintHistoryJson(const std::string& folder, const std::vector<ui::HistoryEntry>& newestFirst,
                     int exitStatus) {
  json archives = json::array();
  for (const ui::HistoryEntry& entry : newestFirst) archives.push_back(Describe(entry));
  return PrintJson({{"command", "history"},
                    {"ok", exitStatus == 0},
                    {"exitStatus", exitStatus},
                    {"folder", folder},
                    {"archives", archives}},
                   exitStatus);
}

}  // namespace orgalink::cli
