// SPDX-License-Identifier: GPL-3.0-or-later
#include "com_port_dialog.h"

#include <QComboBox>
#include <QRadioButton>
#include <QShowEvent>

#include "dialog_controls.h"

namespace orgalink::gui {

namespace {

// The dialog as the product lays it out is 143 units wide; the device column
// beside the port buttons widens it.
constexpr int kPartWidth = 143;
constexpr int kDeviceColumnX = 146;
constexpr int kDeviceColumnWidth = 120;
constexpr int kDialogWidth = kDeviceColumnX + kDeviceColumnWidth + 7;
constexpr int kRadioRows[4] = {19, 35, 51, 67};

bool IsComPort(int port) {
  return port >= 1 && port <= 4;
}

}  // namespace

ComPortDialog::ComPortDialog(QWidget* parent, UserPrompts& prompts, platform::Clock& clock)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint),
      clock_(clock),
      autoDetect_(this, prompts, clock) {
  static_assert(kDeviceColumnX > kPartWidth);
  setWindowTitle(QStringLiteral("COM port"));
  const DialogUnits units = SetUpFixedDialog(*this, kDialogWidth, 93);

  QPushButton* ok = AddButton(*this, units, QStringLiteral("&OK"), {86, 54, 50, 14});
  ok->setObjectName(QStringLiteral("okButton"));
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &ComPortDialog::accept);
  QPushButton* cancel = AddButton(*this, units, QStringLiteral("&Cancel"), {86, 72, 50, 14});
  cancel->setObjectName(QStringLiteral("cancelButton"));
  connect(cancel, &QPushButton::clicked, this, &ComPortDialog::reject);
  QPushButton* detect =
      AddButton(*this, units, QStringLiteral("&Auto Detect..."), {86, 11, 50, 14});
  detect->setObjectName(QStringLiteral("autoDetectButton"));
  connect(detect, &QPushButton::clicked, this, &ComPortDialog::OnAutoDetect);

  for (int i = 0; i < 4; ++i) {
    radios_[i] = AddRadioButton(*this, units, QStringLiteral("COM&%1").arg(i + 1),
                                {24, kRadioRows[i], 35, 10});
    radios_[i]->setObjectName(QStringLiteral("com%1Radio").arg(i + 1));
  }
  AddGroupBox(*this, units, QStringLiteral("Setting"), {12, 6, 59, 80})
      ->setObjectName(QStringLiteral("settingGroup"));

  AddGroupBox(*this, units, QStringLiteral("Devices"),
              {kDeviceColumnX - 3, 6, kDeviceColumnWidth + 6, 80});
  for (int i = 0; i < 4; ++i) {
    QComboBox* box = deviceBoxes_[i] = new QComboBox(this);
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setGeometry(units.Rect(kDeviceColumnX + 3, kRadioRows[i] - 2, kDeviceColumnWidth - 6, 13));
    box->setObjectName(QStringLiteral("com%1Device").arg(i + 1));
    box->setToolTip(QStringLiteral("The serial device that COM%1 stands for").arg(i + 1));
  }
}

void ComPortDialog::Configure(const settings::RunSettings& settings) {
  // A port outside 1..4 is kept as the port at start, so that Cancel gives
  // it back unchanged; the buttons then show COM1.
  selectedPort_ = settings.comPort;
  devices_ = ui::PortMapOf(settings.comDevices);
  autoDetect_.Configure(settings);
}

void ComPortDialog::SetPortLister(PortLister lister) {
  lister_ = std::move(lister);
}

void ComPortDialog::showEvent(QShowEvent* event) {
  // Not again when the window system shows it anew (a restore from the task
  // bar): that would undo the user's choices.
  if (!event->spontaneous()) {
    portAtStart_ = selectedPort_;
    // What exec() gives when its loop is ended from outside (the program
    // ending on a signal): the port it started with, as after Cancel.
    setResult(portAtStart_);
    ShowSelection();
    FillDeviceLists();
  }
  QDialog::showEvent(event);
}

void ComPortDialog::ShowSelection() {
  if (!IsComPort(selectedPort_)) selectedPort_ = 1;
  for (int i = 0; i < 4; ++i) radios_[i]->setChecked(i + 1 == selectedPort_);
}

void ComPortDialog::ReadSelection() {
  selectedPort_ = 1;
  for (int i = 0; i < 4; ++i) {
    if (radios_[i]->isChecked()) {
      selectedPort_ = i + 1;
      return;
    }
  }
}

void ComPortDialog::FillDeviceLists() {
  const std::vector<std::string> found = lister_ ? lister_() : std::vector<std::string>{};
  for (std::size_t i = 0; i < deviceBoxes_.size(); ++i) {
    QComboBox* box = deviceBoxes_[i];
    box->clear();
    for (const std::string& device : found) box->addItem(QString::fromStdString(device));
    box->setEditText(QString::fromStdString(devices_[i]));
  }
}

ui::PortMap ComPortDialog::DevicesShown() const {
  ui::PortMap devices;
  for (std::size_t i = 0; i < deviceBoxes_.size(); ++i) {
    devices[i] = deviceBoxes_[i]->currentText().trimmed().toStdString();
  }
  return devices;
}

void ComPortDialog::OnAutoDetect() {
  ReadSelection();
  // The search probes the devices as shown now, changed or not.
  const std::optional<int> found = autoDetect_.Search(DevicesShown());
  if (found && IsComPort(*found)) selectedPort_ = *found;
  ShowSelection();
}

void ComPortDialog::accept() {
  ReadSelection();
  devices_ = DevicesShown();
  done(selectedPort_);
}

void ComPortDialog::reject() {
  done(portAtStart_);
}

}  // namespace orgalink::gui
