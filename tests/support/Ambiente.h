#pragma once
// What every test needs: its own program folder with a new database file,
// a script of message-box answers, the clock and the end-of-program seam.
#include "common/Recordset.h"
#include <QRandomGenerator>
#include <QString>
#include <QTemporaryDir>
#include <QVariantList>
#include <functional>
#include <optional>

// Thrown by the end-at-once seam, so a test sees that the program ended.
struct ProgramaTerminou {};

class Ambiente {
public:
    explicit Ambiente(bool criaBanco = true);
    // Another program instance on the program folder `pasta` of a test that
    // runs it as a child process: the folder and its file are that test's.
    explicit Ambiente(const QString& pasta);
    ~Ambiente();
    QString Pasta() const { return pasta_; }
    QString Arquivo() const;  // the database file

    // Runs one statement on the database file with bound values.
    void Sql(const QString& sql, const QVariantList& valores = {});
    // Reads rows with bound values.
    RecordsetPtr Le(const QString& sql, const QVariantList& valores = {});
    // The rows read, each its columns joined by "|", a Null shown "NULL".
    QStringList Linhas(const QString& sql, const QVariantList& valores = {});
    // The first column of the first row, as a count.
    int Conta(const QString& sql, const QVariantList& valores = {}) { return Le(sql, valores)->Fields(0).toInt(); }
    // One parameter row: code, sector, congregation, type, month, year.
    void Parametros(int codigo, const QString& setor, const QString& congrega, const QString& tipo, int mes,
                    int ano, const QString& razao = QStringLiteral("IGREJA CENTRAL"));

private:
    void Prepara();
    std::optional<QTemporaryDir> dir_;  // none on another program's folder
    QString pasta_;
};

// True when calling f ended the program (through App::Termina).
bool Termina_Programa(const std::function<void()>& f);
// The error number a call raises, with its description; 0 when it completes.
long ErroDe(const std::function<void()>& f, QString* descricao = nullptr);
// A file's bytes; none when it cannot be read.
QByteArray Bytes(const QString& caminho);
// A generator for random inputs. Its seed is printed; TESTES_SEMENTE=n
// replays the run that printed n.
QRandomGenerator Gerador_Semeado();
