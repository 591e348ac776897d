#include "app/TForm2.h"

#include <QMessageBox>
#include <QPainter>
#include <QShowEvent>

#include "app/Guard.h"
#include "app/ScreenPlacement.h"
#include "app/ShownAdapterType.h"
#include "app/TForm1.h"
#include "common/QtColour.h"
#include "common/QtText.h"
#include "config/Configuration.h"
#include "config/Settings.h"
#include "controls/Fonts.h"
#include "controls/Pictures.h"
#include "view/ColourPreview.h"

namespace wyk {
namespace {

const QColor kButtonFace(0xC0, 0xC0, 0xC0);

QLabel* MakeLabel(QWidget* parent, const QRect& geometry, const QString& text) {
  auto* label = new QLabel(text, parent);
  label->setGeometry(geometry);
  return label;
}

CaptionButton* MakeFlatButton(QWidget* parent, const QRect& geometry, const QString& caption) {
  auto* button = new CaptionButton(parent);
  button->setGeometry(geometry);
  button->setText(caption);
  button->setAutoRaise(true);
  // The spin box keeps the focus, so OK reads its text as typed.
  button->setFocusPolicy(Qt::NoFocus);
  return button;
}

}  // namespace

TForm2::TForm2(RecorderState& state, TForm1& mainWindow)
    : QWidget(nullptr),
      surface(kDialogWidth, kDialogHeight),
      state_(state),
      mainWindow_(mainWindow) {
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                 Qt::MSWindowsFixedSizeDialogHint);
  setWindowTitle("Konfiguracja");
  setFixedSize(kDialogWidth, kDialogHeight);
  move(359, 237);
  KeepOnScreenWhenShown(*this);
  setFont(SmallFont());
  QPalette p = palette();
  p.setColor(QPalette::Window, kButtonFace);
  setPalette(p);
  setAttribute(Qt::WA_OpaquePaintEvent);
  // The close box only hides the dialog; the program goes on.
  setAttribute(Qt::WA_QuitOnClose, false);
  surface.SetBrushColor(FromQColor(kButtonFace));
  surface.FillRect(0, 0, kDialogWidth, kDialogHeight);

  BuildLayout();
  CreateConfigurationDialog();
}

void TForm2::BuildLayout() {
  RadioGroup1 = new RadioGroup(this, {0, 0, 129, 105}, "Port Com",
                               {"Com1", "Com2", "Com3", "Com4", "Com5", "Com6", "Com7", "Com8"}, 2);
  for (int i = 0; i < RadioGroup1->Count(); ++i)
    RadioGroup1->Item(i)->setToolTip(ToQString(PortDeviceHint(state_.settings, i + 1)));

  GroupBox2 = new QGroupBox(QString::fromUtf8("Wygląd"), this);
  GroupBox2->setGeometry(136, 0, 89, 105);
  Label1 = MakeLabel(GroupBox2, {8, 24, 56, 16}, QString::fromUtf8("Kolor tła:"));
  Label2 = MakeLabel(GroupBox2, {8, 48, 56, 16}, "Kolor siatki:");
  Label3 = MakeLabel(GroupBox2, {8, 72, 56, 16}, "Kolor lini:");
  Shape1 = new ColourSwatch(GroupBox2, {64, 24, 16, 16});
  Shape2 = new ColourSwatch(GroupBox2, {64, 48, 16, 16});
  Shape3 = new ColourSwatch(GroupBox2, {64, 72, 16, 16});
  for (ColourSwatch* shape : {Shape1, Shape2, Shape3})
    connect(shape, &ColourSwatch::Pressed, this, Guard([this, shape] { PickColour(shape); }));

  Bevel1 = new QFrame(this);
  Bevel1->setGeometry(232, 7, 57, 97);
  Bevel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  Bevel1->setLineWidth(1);
  QPalette bevel = Bevel1->palette();
  bevel.setColor(QPalette::Dark, QColor(0x80, 0x80, 0x80));
  bevel.setColor(QPalette::Light, Qt::white);
  Bevel1->setPalette(bevel);

  GroupBox1 = new QGroupBox("Typ przystawki", this);
  GroupBox1->setGeometry(0, 112, 289, 49);
  ComboBox1 = new QComboBox(GroupBox1);
  ComboBox1->setGeometry(8, 16, 113, 21);
  ComboBox1->setEditable(true);
  // Typed text names no entry; it is never added as one.
  ComboBox1->setInsertPolicy(QComboBox::NoInsert);
  for (std::string_view entry : kAdapterEntries) ComboBox1->addItem(ToQString(entry));
  Label4 = MakeLabel(GroupBox1, {152, 12, 74, 26}, QString::fromUtf8("Składowa stała:\n(TEV2R)"));
  CSpinEdit1 = new SpinEdit(GroupBox1, 0, 255);
  CSpinEdit1->setGeometry(232, 16, 41, 22);

  Image1 = new QLabel(this);
  Image1->setGeometry(23, 170, 75, 19);
  Image1->setPixmap(pictures::Logo());
  SpeedButton2 = MakeFlatButton(this, {135, 168, 74, 22}, "OK");
  SpeedButton2->setToolTip(QString::fromUtf8("Plik ustawień: ") +
                           QString::fromStdString(mainWindow_.settingsPath));
  SpeedButton3 = MakeFlatButton(this, {216, 168, 74, 22}, "Anuluj");
  connect(SpeedButton2, &QToolButton::clicked, this, Guard(this, &TForm2::ConfirmConfiguration));
  connect(SpeedButton3, &QToolButton::clicked, this, Guard(this, &TForm2::CancelConfiguration));
}

void TForm2::CreateConfigurationDialog() {
  ShowSettings();
  mainWindow_.setWindowTitle(ToQString(MainWindowCaption(ShownAdapterType(state_))));
}

void TForm2::ShowSettings() {
  Shape1->SetColour(ToQColor(state_.settings.backgroundColor));
  Shape2->SetColour(ToQColor(state_.settings.gridColor));
  Shape3->SetColour(ToQColor(state_.settings.lineColor));
  RadioGroup1->SetItemIndex(PortItemOf(state_.settings.comPortNumber));
  // Also puts back the entry's text over text typed into the box.
  ComboBox1->setCurrentIndex(AdapterEntryOf(state_.settings.adapterType));
  CSpinEdit1->setValue(state_.settings.dcOffset);
}

int TForm2::SelectedAdapterEntry() const {
  return ComboBox1->findText(ComboBox1->currentText(), Qt::MatchExactly | Qt::MatchCaseSensitive);
}

void TForm2::showEvent(QShowEvent* event) {
  if (event->spontaneous()) return;
  RunGuarded([this] {
    ShowSettings();
    SnapshotSettings(state_.settings, state_.savedSettings);
  });
}

void TForm2::paintEvent(QPaintEvent*) {
  PaintGuarded([this] { DrawColourPreview(state_.settings, surface); });
  QPainter painter(this);
  const QImage image(surface.Bits(), surface.Width(), surface.Height(), surface.BytesPerLine(),
                     QImage::Format_RGB32);
  painter.drawImage(0, 0, image);
}

void TForm2::PickColour(ColourSwatch* swatch) {
  TColor& colour = swatch == Shape1   ? state_.settings.backgroundColor
                   : swatch == Shape2 ? state_.settings.gridColor
                                      : state_.settings.lineColor;
  if (!ColorDialog1) ColorDialog1 = new QColorDialog(this);
  ColorDialog1->setCurrentColor(ToQColor(colour));
  if (ColorDialog1->exec() == QDialog::Accepted) colour = FromQColor(ColorDialog1->selectedColor());
  swatch->SetColour(ToQColor(colour));
  DrawColourPreview(state_.settings, surface);
  const Rect r = kColourPreview;
  update(r.left, r.top, r.right - r.left, r.bottom - r.top);
}

void TForm2::ConfirmConfiguration() {
  const DialogChoice choice{RadioGroup1->ItemIndex(), SelectedAdapterEntry(),
                            CSpinEdit1->cleanText().toStdString()};
  if (const std::string refusal = ChoiceRefusal(choice); !refusal.empty()) {
    QMessageBox box(QMessageBox::NoIcon, "Uwaga!", ToQString(refusal), QMessageBox::Ok, this);
    box.exec();
    // The control to mend takes the focus, its text selected for retyping.
    if (choice.portItem < 0) {
      RadioGroup1->Item(0)->setFocus();
    } else if (choice.adapterEntry < 0) {
      ComboBox1->setFocus();
      ComboBox1->lineEdit()->selectAll();
    } else {
      CSpinEdit1->setFocus();
      CSpinEdit1->selectAll();
    }
    return;
  }
  TakeDialogChoice(state_.settings, choice);
  mainWindow_.setWindowTitle(ToQString(MainWindowCaption(ShownAdapterType(state_))));
  SaveSettings(state_.settings, mainWindow_.settingsPath);
  if (state_.settings.adapterType == 1)
    mainWindow_.ApplyType1Limits();
  else
    mainWindow_.LiftType1Limits();
  // The plot in the colours just confirmed; a live plot takes them at its next frame.
  if (!state_.live.recordingActive) mainWindow_.RedrawRecording();
  mainWindow_.update();
  hide();
}

void TForm2::CancelConfiguration() {
  RestoreSnapshot(state_.settings, state_.savedSettings);
  // After an OK whose write failed the caption named the type that is now put back.
  mainWindow_.setWindowTitle(ToQString(MainWindowCaption(ShownAdapterType(state_))));
  hide();
}

}  // namespace wyk
