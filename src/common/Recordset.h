#pragma once
// A recordset is a snapshot: its rows are copied into memory when it is
// opened, so it stays readable after the database file was closed.
#include <QString>
#include <QStringList>
#include <QVariant>
#include <memory>
#include <vector>

class Recordset {
public:
    Recordset() = default;
    Recordset(QStringList nomes, std::vector<std::vector<QVariant>> linhas);

    // The rows a cursor yields, copied: proximo() steps to the next row
    // (false past the last), valor(i) reads column i of that row.
    template <class Proximo, class Valor>
    static std::vector<std::vector<QVariant>> CopiaLinhas(int colunas, Proximo proximo, Valor valor) {
        std::vector<std::vector<QVariant>> linhas;
        while (proximo()) {
            std::vector<QVariant> linha;
            linha.reserve(size_t(colunas));
            for (int i = 0; i < colunas; ++i) linha.push_back(valor(i));
            linhas.push_back(std::move(linha));
        }
        return linhas;
    }

    bool Eof() const { return pos_ >= linhas_.size(); }
    bool Bof() const { return linhas_.empty(); }
    void MoveNext();   // past the end: error 3021
    void MoveFirst() { pos_ = 0; }
    int RecordCount() const { return int(linhas_.size()); }
    int FieldCount() const { return int(nomes_.size()); }
    QString FieldName(int i) const { return nomes_.value(i); }

    // Value of a field of the current row. A SQL NULL is a null QVariant
    // (isNull()). Unknown field: error 3265; no current row: error 3021.
    QVariant Fields(const QString& nome) const;
    QVariant Fields(int indice) const;
    // The index of a field, for reading it row after row without looking
    // its name up each time; unknown field: error 3265.
    int Indice(const QString& nome) const;
    // Texto of the field at an index.
    QString Texto(int indice) const;
    // The field as text, NULL giving the empty text (the forms' "" & campo).
    QString Texto(const QString& nome) const;

private:
    QStringList nomes_;
    std::vector<std::vector<QVariant>> linhas_;
    size_t pos_ = 0;
};

using RecordsetPtr = std::unique_ptr<Recordset>;
