// The construction order of the main program's process-wide objects. They live in several files
// (fonts and bitmaps, the database facade, the communication manager, the application, the text
// arrays, the record table, the engine, the socket start-up), so the order is fixed by an init
// priority on each definition rather than left to the link: lower ranks are built first and,
// as C++ destroys statics in reverse, destroyed last. Everything without a rank is built after
// them. Their constructors therefore may use only the platform, whose own state is made on first
// use.
#pragma once

#define QUELLORA_PROCESS_OBJECT(rank) __attribute__((init_priority(65000 + (rank))))

// Ranks, in construction order.
#define QUELLORA_RANK_FONTS 1
#define QUELLORA_RANK_BITMAPS 2
#define QUELLORA_RANK_DATABASE 3
#define QUELLORA_RANK_COMM_MANAGER 4
#define QUELLORA_RANK_APP 5
#define QUELLORA_RANK_LANG_TEXTS 6
#define QUELLORA_RANK_LANG_NAMES 7
#define QUELLORA_RANK_RECORD_TABLE 8
#define QUELLORA_RANK_ENGINE 9
#define QUELLORA_RANK_WINSOCK 10
