// Writing the documented fields of a data area; see DataArea.h.
#include "DataArea.h"

#include <algorithm>

namespace vorn::server::oci7 {

sword report(Cda_Def* area, const Outcome& outcome) {
  // rc is a ub2 and v2_rc an sb2; every catalogued number fits both.
  int code = std::clamp(outcome.code, 0, 32767);
  area->rc = static_cast<ub2>(code);
  area->v2_rc = static_cast<sb2>(-code);
  area->wrn = outcome.warnings ? static_cast<ub1>(outcome.warnings | kWarningAny) : 0;
  area->ose = 0;
  return area->v2_rc;
}

void writeRowid(Cda_Def* area, const RowidParts& rowid) {
  area->rid.rd.rcs4 = static_cast<ub4>(rowid.object);
  area->rid.rd.rcs5 = static_cast<ub2>(rowid.file);
  area->rid.rd.rcs6 = 0;
  area->rid.rcs7 = static_cast<ub4>(rowid.block);
  area->rid.rcs8 = static_cast<ub2>(rowid.row);
}

void clearRowid(Cda_Def* area) {
  writeRowid(area, RowidParts{});
}

}  // namespace vorn::server::oci7
