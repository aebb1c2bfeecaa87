#pragma once

class CDatabase;

// Removes for good every master row flagged as deleted that no event data refers to any more.
// A flagged row that is still referred to keeps its flag and is examined again next time.
// Runs in one transaction; throws CDaoException when the database refuses (nothing is removed
// then). Returns the number of rows removed.
int purgeDeletedMasterRecords(CDatabase& db);
