#include "model/outline_pen.h"

#include <map>
#include <memory>

#include "model/blockary.h"

surface::CPen& outlinePen(int width)
{
    static surface::CPen thin(surface::kPenSolid, 1, colorTable[7]);
    static std::map<int, std::unique_ptr<surface::CPen>> wide;
    if (width <= 1) {
        return thin;
    }
    std::unique_ptr<surface::CPen>& pen = wide[width];
    if (!pen) {
        pen = std::make_unique<surface::CPen>(surface::kPenInsideFrame, width, colorTable[7]);
    }
    return *pen;
}
