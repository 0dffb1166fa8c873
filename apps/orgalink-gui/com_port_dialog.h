#pragma once

#include <QDialog>
#include <array>
#include <functional>
#include <string>
#include <vector>

#include "auto_detect_dialog.h"
#include "ui/port_map.h"
#include "user_prompts.h"

class QComboBox;
class QRadioButton;

namespace orgalink::gui {

// "COM port": the choice of COM1..COM4, by hand or by Auto Detect. exec()
// returns the port to keep: the selection after OK, the port the dialog
// started with after Cancel. Beside each port it shows, and lets the user
// change, the device that port stands for; OK stores those in the settings
// file.
class ComPortDialog : public QDialog {
  Q_OBJECT

 public:
  // What the main window hands over before exec().
  struct Config {
    int deviceCode = 2;
    int comPort = 1;
    std::string baudRate = "19200";
    std::string logFileName;
    int echoBack = 1;
  };
  // The serial devices offered for the mapping.
  using PortLister = std::function<std::vector<std::string>()>;

  ComPortDialog(QWidget* parent, UserPrompts& prompts, std::string settingsFile,
                platform::Clock& clock);

  void Configure(const Config& config);
  void SetPortLister(PortLister lister);
  AutoDetectDialog& AutoDetect() { return autoDetect_; }

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

  std::string settingsFile_;
  platform::Clock& clock_;
  AutoDetectDialog autoDetect_;
  PortLister lister_;
  std::array<QRadioButton*, 4> radios_{};
  std::array<QComboBox*, 4> devices_{};
  int selectedPort_ = 1;
  int portAtStart_ = 1;
};

}  // namespace orgalink::gui
