// The picture the main window shows while no report is open: the program's
// own artwork, centred on a quiet background, with a line saying how to start.
#pragma once

#include <QSvgRenderer>
#include <QWidget>

namespace vantrep::analysis::ui {

class ReportArtwork : public QWidget {
    Q_OBJECT
public:
    explicit ReportArtwork(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QSvgRenderer artwork_;
};

}  // namespace vantrep::analysis::ui
