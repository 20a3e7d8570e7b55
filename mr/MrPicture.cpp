#include "mr/MrPicture.h"

MrPicture::MrPicture(QWidget *parent) : DrawingView(Look::Image, parent) {}
