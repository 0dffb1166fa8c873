// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

namespace orgalink::ui {

// What the viewer asks before it puts records back on the organizer: how
// many, into which application, that nothing the organizer holds is lost,
// and a line of each record (`descriptions`), the first dozen of them.
std::string PutBackQuestion(const std::string& application,
                            const std::vector<std::string>& descriptions);

}  // namespace orgalink::ui
