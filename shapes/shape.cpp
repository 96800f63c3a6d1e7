// The Shape motion step: advancing a Shape along its chain of routes.
#include "shapes/shape.h"

void stepShape(Shape& shape) {
    if (shape.kind == ShapeKind::Callback) {
        shape.updateCallback(&shape);
        return;
    }
    Route& route = shape.routes[shape.routeIndex];
    if (route.elapsed() > route.duration) {
        if (shape.routeIndex + 1 < shape.routes.size()) {
            ++shape.routeIndex;
            shape.routes[shape.routeIndex].start();
        }
        return;
    }
    route.update();
    shape.x = route.currentX;
    shape.y = route.currentY;
    shape.angle = route.currentAngle;
}
