#include "records/RecordConstants.hpp"

namespace zil::Constants {

const std::vector<ZilLValue>& unitScaleTransformList() {
    static const std::vector<ZilLValue> list{ZilLValue::SUMVALUE("ScaleXYZ", ZilLValue::XYZ(unitTriple))};
    return list;
}

}  // namespace zil::Constants
