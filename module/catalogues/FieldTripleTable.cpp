#include "module/catalogues/FieldTripleTable.h"

// Constant-initialised: every element is the null field until the first
// heading transfer fills the table.
Primitives::QVImmutableIdentifier kFieldTripleTable[kFieldTripleRows * kFieldTripleColumns];
