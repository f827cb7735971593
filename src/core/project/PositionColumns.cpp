#include "core/project/PositionColumns.h"

#include "core/protocol/ArmProfile.h"
#include "core/robot/PositionValues.h"

std::vector<std::string> PositionColumnNames(bool cartesian) {
    std::vector<std::string> names;
    const int count = cartesian ? CartesianAxisCount() : JointCount();
    for (int i = 0; i < count; ++i)
        names.push_back(cartesian ? armProfile().AxisName(i) : armProfile().JointName(i));
    return names;
}

std::vector<std::string> PositionValueTexts(const PositionRecord& rec) {
    std::vector<std::string> texts;
    const bool cartesian = rec.IsCartesian();
    const int count = cartesian ? CartesianAxisCount() : JointCount();
    for (int i = 0; i < count; ++i)
        texts.push_back(cartesian ? TenthsText(rec.values[i]) : std::to_string(rec.values[i]));
    return texts;
}
