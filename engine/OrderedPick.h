#pragma once
#include "engine/RandomIndex.h"
#include "engine/SignatureDatabase.h"
#include "engine/SignatureOrder.h"

#include <optional>
#include <string>
#include <vector>

// The next signature in order from the listed databases (at least one), read on the shared
// handle and buffer, with place moved past it; a change reads one record, whatever the
// order, except at random when the last text keeps being drawn again. Nothing, and place
// left as it was, when there is no record to give: at random, the first drawn database is
// empty (a redraw passes over an empty one);
// in the other orders, every listed database is. Failures travel as those of
// SignatureDatabase::RandomRecord do, and leave place as it was. reading is the database
// the pick opened last, for a report to name.
//
//   Random    the database at random, then the record at random; a draw of the last
//             change's text is drawn again, so the other texts keep their chances among
//             themselves. When that text is the only one left, it is written again.
//   Shuffle   every record of every database once per round, in an order the round's key
//             gives; a new round never starts with the record written last. Another list
//             or another record count starts a new round.
//   Sequence  each database in list order, its records in file order, then from the start.
//             Where the record written last has gone (its database left the list, or its
//             index is past the end now), from the start again.
std::optional<std::string> PickInOrder(SignatureDatabase& database, const std::vector<std::string>& databases,
                                       SignatureOrder order, RandomIndexSource& random, OrderPlace& place,
                                       std::string& reading);
