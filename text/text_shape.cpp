// Text Shapes: callback Shapes that print one line and run its update.
#include "text/text_shape.h"

Shape makeTextShape(ShapeCallback draw, ShapeCallback update, float param) {
    Shape shape;
    shape.kind = ShapeKind::Callback;
    shape.drawCallback = draw;
    shape.updateCallback = update;
    shape.param = param;
    return shape;
}
