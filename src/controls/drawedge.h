#pragma once

#include <QImage>
#include <QRect>

namespace sliderpaint {

// Edge kinds: the outer border raised (1) or sunken (2), the inner one raised (4) or
// sunken (8); 5 is the raised edge, 10 the sunken one, 0 draws nothing.
enum : int {
    BDR_RAISEDOUTER = 1,
    BDR_SUNKENOUTER = 2,
    BDR_RAISEDINNER = 4,
    BDR_SUNKENINNER = 8,
    EDGE_RAISED = 5,
    EDGE_SUNKEN = 10
};

// A 3-D edge around all four sides of r (right and bottom exclusive), drawn in the
// system colours, without filling the inside.
void DrawEdge(QImage &surface, const QRect &r, int edge);

} // namespace sliderpaint
