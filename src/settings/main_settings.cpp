#include "settings/main_settings.h"

#include "base/c_numbers.h"

namespace quorlet {

int MainSettings::DayClear() const {
    return AtoI(m_strDayClear);
}

}  // namespace quorlet
