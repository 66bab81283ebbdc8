// The field-triple table: the filers' heading items (names, identifying
// numbers, address) as fields of the three kinds of federal main form and of
// the state form that receives them.
//
// 16 rows of 4 columns; row r is elements 4r to 4r+3, column c element 4r+c.
// Column 0 holds the item's field on federal form 1, column 1 on federal form
// 55, column 2 on federal form 87, column 3 the receiving state field. Every
// element holds the null field (number 0) when the module loads; the state
// calculation fills the table at each heading transfer. It is written and read
// only on the host's thread, during a calculation.
#pragma once

#include <cstddef>

#include "platform/Primitives.h"

inline constexpr std::size_t kFieldTripleRows = 16;
inline constexpr std::size_t kFieldTripleColumns = 4;

extern Primitives::QVImmutableIdentifier kFieldTripleTable[kFieldTripleRows * kFieldTripleColumns];
