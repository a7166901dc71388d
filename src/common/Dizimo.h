#pragma once
// A tithe's history and a tither's register row, each built and read here
// only: every form that shows, stores or lists them must agree on where the
// position and the membership number stand.
//
// A tithe's history has three forms:
//   typed    whatever the history field holds: "JOSE", a register item
//            "ANA LIMA RI:00000451 DC", a position anywhere;
//   shown    position first, at most 50 characters: "DC ANA LIMA RI:00000451";
//   stored   position last, at most 50 characters: "ANA LIMA RI:00000451 DC".
#include <QString>
#include <QtGlobal>
#include <optional>

namespace Historico_Dizimo {

inline constexpr int Largura = 50;

// Whether a full stop stands anywhere from the membership tag "RI:" on
// (such a number is refused before saving).
bool RI_Com_Ponto(const QString& digitado);

// The shown form of a typed history: " RI:00000000" appended when there is
// no "RI:", the position moved to the end once (a tag counts only as a
// word of its own; " CG" when there is none), then brought to the front.
// Longer than 50 characters, the name is shortened so that the position
// and the whole membership tag stay. No value when the tag leaves no room
// for the position in front.
std::optional<QString> Exibido_Do_Digitado(const QString& digitado);
// Shown form from the stored one: its last two characters first.
QString Exibido(const QString& armazenado);
// Stored form from the shown one: its first two characters last.
QString Armazenado(const QString& exibido);

}  // namespace Historico_Dizimo

// The register's list row of a tither, 77 characters:
//   1-4    the position's abbreviation and "." when positions are shown,
//          else blanks
//   5-55   name
//   56-65  membership number
//   66-77  the position's code, right-aligned (a code of more than 12
//          digits is kept whole and makes the row longer)
namespace Linha_Dizimista {

inline constexpr int ColunaNome = 5;  // 1-based, as the columns above

// A row; abreviado present means positions are shown (a Null abbreviation
// is the empty one: ".   "); a tither without a position has a blank code.
QString Monta(const std::optional<QString>& abreviado, const QString& nome, const QString& ri,
              std::optional<qint64> cargo);
// The row's first 65 characters, positions shown: the line of a registered
// tither in the tithers' yearly grid.
inline constexpr int LarguraSemCargo = 65;
QString Monta(const QString& abreviado, const QString& nome, const QString& ri);

struct Linha {
    QString nome;                 // 50 characters from column 5, trimmed
    QString ri;                   // columns 56-65, trimmed
    std::optional<qint64> cargo;  // from column 66 on; none when blank or not a number
};
Linha Le(const QString& linha);

}  // namespace Linha_Dizimista
