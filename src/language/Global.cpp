#include "language/Global.h"

namespace ms {

WorksheetTables Tables;

}  // namespace ms
