// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <array>
#include <functional>
#include <string>
#include <vector>

#include "auto_detect_dialog.h"
#include "settings/run_settings.h"
#include "ui/port_map.h"
#include "user_prompts.h"

class QComboBox;
class QRadioButton;

namespace orgalink::gui {

// "COM port": the choice of COM1..COM4, by hand or by Auto Detect. exec()
// returns the port to keep: the selection after OK, the port the dialog
// started with after Cancel. Beside each port it shows, and lets the user
// change, the device that port stands for; Devices() gives them as OK
// confirmed them.
class ComPortDialog : public QDialog {
  Q_OBJECT

 public:
  // The serial devices offered for the mapping.
  using PortLister = std::function<std::vector<std::string>()>;

  ComPortDialog(QWidget* parent, UserPrompts& prompts, platform::Clock& clock);

  // Before exec(): the port and devices to show, and the search link's
  // device code, baud rate, log and echo.
  void Configure(const settings::RunSettings& settings);
  void SetPortLister(PortLister lister);
  AutoDetectDialog& AutoDetect() { return autoDetect_; }
  // The devices behind COM1..COM4: those configured, or after OK those shown.
  const ui::PortMap& Devices() const { return devices_; }

 protected:
  void showEvent(QShowEvent* event) override;
  void accept() override;
  void reject() override;

 private:
  void OnAutoDetect();
  void ShowSelection();
  void ReadSelection();
  void FillDeviceLists();
  ui::PortMap DevicesShown() const;

  platform::Clock& clock_;
  AutoDetectDialog autoDetect_;
  PortLister lister_;
  std::array<QRadioButton*, 4> radios_{};
  std::array<QComboBox*, 4> deviceBoxes_{};
  ui::PortMap devices_;
  int selectedPort_ = 1;
  int portAtStart_ = 1;
};

}  // namespace orgalink::gui
