#pragma once

class Connection;

namespace Gen {

// Enterprises of the register (from Index 3 on; rows 1 and 2 come with the schema) and the two
// reference lists, the service and sales enterprises (SSP) and the plant's telephones.
void writeReferenceData(Connection& db);

} // namespace Gen
