#pragma once

#include "drawings/DrawingView.h"

// The picture areas of the MR windows, by the class name their forms give: a DrawingView in the
// image look.
class MrPicture : public DrawingView {
    Q_OBJECT

public:
    explicit MrPicture(QWidget *parent = nullptr);
};
