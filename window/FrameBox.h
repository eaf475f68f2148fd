// A frame with its caption set into its top line, the line running through the caption's middle.
// The window's positions inside a frame are designed for that; the toolkit's own group box draws
// its line below the caption, across the first row of controls.
#pragma once

#include <QGroupBox>

class FrameBox : public QGroupBox
{
    Q_OBJECT
public:
    explicit FrameBox(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};
