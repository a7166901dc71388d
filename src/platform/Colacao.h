#pragma once
// The one Portuguese order of the program: sorted lists and the database's
// PTBR collation compare texts the same way (case-insensitive, accents
// after the plain letter).
#include <QStringView>

int Compara_PTBR(QStringView a, QStringView b);
// The same over UTF-8 bytes, as the database engine hands them over.
int Compara_PTBR_Utf8(const char* a, int na, const char* b, int nb);
