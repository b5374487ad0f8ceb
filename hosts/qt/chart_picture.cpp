#include "hosts/qt/chart_picture.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QPixmap>
#include <QRegularExpression>
#include <QWidget>

namespace zav::qt {

bool WriteChartPicture(QWidget& chart, const QString& path) {
  return chart.grab().save(path, "PNG");
}

void SaveChartPicture(QWidget& chart, QWidget* owner, const QString& title) {
  QString name = title;
  name.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9._-]+")), QStringLiteral("-"));
  const QString path = QFileDialog::getSaveFileName(
      owner, QStringLiteral("Save the chart as a picture"), name + QStringLiteral(".png"),
      QStringLiteral("PNG pictures (*.png)"), nullptr, QFileDialog::DontUseNativeDialog);
  if (path.isEmpty()) {
    return;
  }
  if (!WriteChartPicture(chart, path)) {
    QMessageBox::warning(owner, QStringLiteral("Chart picture"),
                         QStringLiteral("The picture could not be saved as \"%1\". Check that "
                                        "the folder exists and can be written to.")
                             .arg(path));
  }
}

}  // namespace zav::qt
