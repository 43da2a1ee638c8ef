#pragma once
// The sheet-tab strip of a grid; the program's grids never give it a width.

#include <QWidget>

class CGridTabStrip : public QWidget {
    Q_OBJECT
public:
    explicit CGridTabStrip(QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
};
