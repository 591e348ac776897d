#pragma once
// A file-name edit box with a browse button at its right end.

#include <QLineEdit>
#include <QToolButton>
#include <QWidget>

namespace wyk {

class BrowseEdit : public QWidget {
  Q_OBJECT
 public:
  BrowseEdit(QWidget* parent, const QRect& geometry);

  QString Text() const { return edit_->text(); }
  void SetText(const QString& text) { edit_->setText(text); }
  QLineEdit* Edit() const { return edit_; }
  QToolButton* BrowseButton() const { return browse_; }

  QString filter = "Pliki wykresownika (.osr)|*.osr";
  QString defaultExtension = ".osr";

 signals:
  void BrowseRequested();

 private:
  QLineEdit* edit_;
  QToolButton* browse_;
};

}  // namespace wyk
