#pragma once

class CDatabase;

// Example data of a fictional German dance band, so that a new program directory shows what the
// program can do: musicians with instruments, organisers and service firms with contacts,
// hotels, vehicles, songs, articles, GEMA offices, a dozen events of every status with their
// planning, and the standard line-up. Every name is invented.
void fillDemoData(CDatabase& db);

// `count` further events with master data in proportion (about one organiser per five events),
// for measuring the program with a large database. The same seed gives the same data.
void generateEvents(CDatabase& db, int count, unsigned seed = 1);
