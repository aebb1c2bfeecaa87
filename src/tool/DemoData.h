#pragma once

class CDatabase;

// Example data of a fictional German dance band, so that a new program directory shows what the
// program can do: musicians with instruments, organisers and service firms with contacts,
// hotels, vehicles, songs, articles, GEMA offices, a dozen events of every status with their
// planning, and the standard line-up. Every name is invented.
// `copies` above 1 repeats the example's master data and events that many times, for measuring
// the program on a database a hundred times its size: the band, the base data and the standard
// line-up are written once, article groups and GEMA offices of later copies are numbered
// ("TEXTIL 2").
void fillDemoData(CDatabase& db, int copies = 1);

// `count` further events with master data in proportion (about one organiser per five events),
// for measuring the program with a large database. The same seed gives the same data.
void generateEvents(CDatabase& db, int count, unsigned seed = 1);
