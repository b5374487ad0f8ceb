#include "hosts/qt/chart_picture.h"

#include <QDateTime>
#include <QFileDialog>
#include <QMessageBox>
#include <QPainter>
#include <QPixmap>
#include <QRegularExpression>
#include <QWidget>

namespace zav::qt {

namespace {

constexpr int kCaptionMargin = 6;  // px around the caption's text

}  // namespace

bool WriteChartPicture(QWidget& chart, const QString& path) {
  return chart.grab().save(path, "PNG");
}

bool WriteCaptionedPicture(QWidget& chart, const QString& caption, const QString& path) {
  const QPixmap shown = chart.grab();
  const QFontMetrics metrics(chart.font());
  const int captionHeight = metrics.height() + 2 * kCaptionMargin;
  QPixmap picture(shown.width(), shown.height() + captionHeight);
  picture.fill(Qt::white);
  QPainter painter(&picture);
  painter.setFont(chart.font());
  painter.setPen(Qt::black);
  painter.drawText(QRect(kCaptionMargin, 0, shown.width() - 2 * kCaptionMargin, captionHeight),
                   Qt::AlignLeft | Qt::AlignVCenter, caption);
  painter.drawPixmap(0, captionHeight, shown);
  painter.end();
  return picture.save(path, "PNG");
}

QString ProposedPictureName(const QString& title) {
  QString name = title;
  name.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9._-]+")), QStringLiteral("-"));
  const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
  return name + QLatin1Char('-') + stamp + QStringLiteral(".png");
}

void SaveChartPicture(QWidget& chart, QWidget* owner, const QString& title,
                      const QString& caption) {
  const QString path = QFileDialog::getSaveFileName(
      owner, QStringLiteral("Save the chart as a picture"), ProposedPictureName(title),
      QStringLiteral("PNG pictures (*.png)"), nullptr, QFileDialog::DontUseNativeDialog);
  if (path.isEmpty()) {
    return;
  }
  if (!WriteCaptionedPicture(chart, caption, path)) {
    QMessageBox::warning(owner, QStringLiteral("Chart picture"),
                         QStringLiteral("The picture could not be saved as \"%1\". Check that "
                                        "the folder exists and can be written to.")
                             .arg(path));
  }
}

}  // namespace zav::qt
