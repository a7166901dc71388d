// The workbook editor on statement workbooks made by openpyxl and saved by
// LibreOffice: cells read as they show (a formula by its value), numbers,
// texts and dates written in place with every other cell, style, formula,
// merged range and name as it was (read back by openpyxl), the
// spreadsheet asked to recalculate (LibreOffice's values checked), and
// every failure leaving the file byte for byte as it was.
#include "platform/Erro.h"
#include "platform/Planilha.h"
#include "platform/PlanilhaInterna.h"
#include "support/Ambiente.h"
#include "support/PlanilhaTeste.h"
#include "support/Registro.h"
#include "support/Tabela.h"
#include <QJsonArray>
#include <QProcess>
#include <QXmlStreamReader>
#include <cstdio>
#include <optional>
#include <QtTest>
#include <sys/resource.h>
#include <unistd.h>

namespace {
struct Falha {
    std::function<void(const QString& arquivo)> prepara;  // makes the file fail
    std::function<void(const QString& arquivo)> faz;      // what the run tries
    long numero;
    QString descricao;  // a part of the error's description
};

// A formula and what its result depends on, written as its references
// ("Dados!$A$1:B5"), its names ("nome:Taxa") and "?" for cells its text
// cannot tell.
struct Dependencia {
    QString formula;
    QString esperada;
};

QString Descreve(const Planilha_Interna::Dependencias& d) {
    const auto parte = [](const Planilha_Interna::Parte_Ref& p, bool coluna) {
        return QString(p.ancorada ? "$" : "") +
               (coluna ? QString::fromStdString(Planilha_Interna::Letras_Coluna(p.valor)) : QString::number(p.valor));
    };
    QStringList r;
    for (const Planilha_Interna::Referencia& ref : d.referencias) {
        QString t = ref.folha.empty() || ref.junta ? QString() : QString::fromStdString(ref.folha) + "!";
        t += parte(ref.c1, true) + parte(ref.r1, false);
        if (ref.c1.valor != ref.c2.valor || ref.r1.valor != ref.r2.valor) t += ":" + parte(ref.c2, true) + parte(ref.r2, false);
        if (ref.junta && !r.isEmpty()) r.last() += ":" + t;  // one more end of the range before
        else r << t;
    }
    for (const auto& [folha, nome] : d.nomes)
        r << "nome:" + (folha.empty() ? QString() : QString::fromStdString(folha) + "!") + QString::fromStdString(nome);
    if (d.indeterminada) r << "?";
    return r.join(' ');
}

// A formula written for one cell, moved by some columns and rows; an
// empty result when it cannot move (a reference would leave the sheet).
struct Deslocamento {
    QString formula;
    int colunas, linhas;
    QString esperada;
};

QJsonObject Celula(const QJsonObject& planilha, const QString& folha, const QString& celula) {
    return planilha["celulas"][folha][celula].toObject();
}

void Zip_Sem_Planilha(const QString& arquivo) {
    QProcess p;
    p.start("/usr/bin/python3", {"-c", "import sys, zipfile\nwith zipfile.ZipFile(sys.argv[1], 'w') as z: z.writestr('a.txt', 'x')",
                                 arquivo});
    QVERIFY(p.waitForFinished() && p.exitCode() == 0);
}

void Escreve(const QString& arquivo, const QByteArray& bytes) {
    QFile f(arquivo);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// The process's address space held to what it uses now and `folga` more,
// so that an allocation of gigabytes fails at once instead of being lent
// pages it never touches.
class Memoria_Limitada {
    rlimit antes_{};

public:
    explicit Memoria_Limitada(rlim_t folga = rlim_t(512) << 20) {
        getrlimit(RLIMIT_AS, &antes_);
        QFile statm("/proc/self/statm");
        statm.open(QIODevice::ReadOnly);
        const rlim_t usada = rlim_t(statm.readAll().split(' ').value(0).toULongLong()) * rlim_t(sysconf(_SC_PAGESIZE));
        rlimit limite = antes_;
        limite.rlim_cur = std::min<rlim_t>(antes_.rlim_max, usada + folga);
        setrlimit(RLIMIT_AS, &limite);
    }
    ~Memoria_Limitada() { setrlimit(RLIMIT_AS, &antes_); }
    Memoria_Limitada(const Memoria_Limitada&) = delete;
    Memoria_Limitada& operator=(const Memoria_Limitada&) = delete;
};

// A workbook grown by an entry of `mib` MiB, saved with little memory to
// spare: what the save prints, nothing when it saves.
struct Apertada {
    int mib;
    QString saida;
};

// A sheet whose elements carry prefixes: `parte` its part, `forma` how
// (see the test), and whether the run is refused.
struct Prefixos {
    QString parte, forma;
    bool recusada;
};

// A cell of a worksheet part as Qt's XML reader reads it, in the order of
// the part: its address, its formula's text and its value (null without
// one).
struct Celula_Lida {
    QString r, formula, valor;
    bool operator==(const Celula_Lida&) const = default;
};

QList<Celula_Lida> Celulas_Lidas(const QByteArray& parte) {
    QList<Celula_Lida> r;
    QXmlStreamReader x(parte);
    QString* texto = nullptr;
    while (!x.atEnd()) {
        x.readNext();
        if (x.isStartElement() && x.name() == u"c") {
            r.append({x.attributes().value("r").toString(), {}, {}});
        } else if (x.isStartElement() && !r.isEmpty() && (x.name() == u"f" || x.name() == u"v")) {
            texto = x.name() == u"f" ? &r.last().formula : &r.last().valor;
            *texto = "";  // there, even empty
        } else if (x.isCharacters() && texto) {
            *texto += x.text();
        } else if (x.isEndElement()) {
            texto = nullptr;
        }
    }
    if (x.hasError()) qWarning("a parte não é XML: %s", qPrintable(x.errorString()));
    return r;
}

// What a run writes, in a process of its own: the statement workbook
// ARQUIVO opened, 08!E4 written and saved, with FOLGA MiB of address space
// left for the save when given. An error goes to the standard output.
int Salva_Em_Outro(const QStringList& a) {
    try {
        Planilha p(a.value(0));
        p.Numero("08", "E4", 7);
        std::optional<Memoria_Limitada> memoria;
        if (a.size() > 1) memoria.emplace(rlim_t(a[1].toULongLong()) << 20);
        p.Salva();
    } catch (const ErroExecucao& e) {
        std::printf("erro %ld: %s\n", e.Number, e.what());
        return 1;
    }
    return 0;
}
REGISTRA_OUTRO(salva_planilha, Salva_Em_Outro)

// The numbers of the sheets in the archive of a statement workbook saved by
// LibreOffice: FECHAMENTO, the months, TC, DADOS.
const QString Folha01 = "xl/worksheets/sheet2.xml";
const QString Folha08 = "xl/worksheets/sheet9.xml";
}  // namespace

class tst_Planilha : public QObject {
    Q_OBJECT

    QTemporaryDir pasta_;
    QString modelo_;  // saved by LibreOffice: formulas carry their values
    int copias_ = 0;

    QString copia() {
        const QString c = pasta_.filePath(QString("copia%1.xlsx").arg(++copias_));
        QFile::copy(modelo_, c);
        QFile(c).setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
        return c;
    }

    // The number `valor` written into one cell and saved: openpyxl's
    // readings before and after, which differ in that cell alone.
    static void Escreve_Numero(const QString& arquivo, const QString& folha, const QString& celula, double valor,
                               QJsonObject& antes, QJsonObject& depois) {
        antes = Planilha_Teste::Le(arquivo);
        {
            Planilha p(arquivo);
            p.Numero(folha, celula, valor);
            p.Salva();
        }
        depois = Planilha_Teste::Le(arquivo);
        const QStringList diferencas =
            Planilha_Teste::Diferencas(antes, depois, {{folha + "!" + celula, {{"v", valor}, {"t", "n"}}}});
        QVERIFY2(diferencas.isEmpty(), qPrintable(diferencas.join('\n')));
    }

private slots:
    void initTestCase() {
        modelo_ = pasta_.filePath("modelo.xlsx");
        Planilha_Teste::Cria(modelo_, QJsonObject{{"celulas", QJsonObject{{"08", QJsonObject{{"A6", "=100+23"}, {"A7", "abc"},
                                                                                              {"A8", "=\"\""}, {"B9", true}}}}}});
    }

    // A formula reads by the value it shows; empty cells, empty texts and
    // missing rows read as nothing; sheet names without regard to case.
    void leitura() {
        Planilha p(copia());
        QCOMPARE(p.Valor("08", "A4"), QVariant(30.0));
        QCOMPARE(p.Valor("08", "A1"), QVariant(QString("MOVIMENTO DE AGOSTO")));
        QCOMPARE(p.Valor("08", "A6"), QVariant(123.0));
        QCOMPARE(p.Valor("08", "E2"), QVariant(1800.0));
        QCOMPARE(p.Valor("08", "A7"), QVariant(QString("abc")));
        QCOMPARE(p.Valor("08", "A8"), QVariant(QString("")));
        QCOMPARE(p.Valor("08", "B9"), QVariant(true));
        QVERIFY(!p.Valor("08", "A300").isValid());
        QVERIFY(!p.Valor("08", "Z4").isValid());
        QVERIFY(p.Vazia("08", "A300"));
        QVERIFY(!p.Vazia("08", "A8"));  // a formula, even one that shows nothing
        QVERIFY(!p.Vazia("08", "A4"));
        QVERIFY(p.Tem_Folha("tc"));
        QVERIFY(!p.Tem_Folha("13"));
        QCOMPARE(p.Valor("tc", "E6"), QVariant(QString("JULHO")));

        QString d;
        QCOMPARE(ErroDe([&] { p.Valor("13", "A1"); }, &d), 1004L);
        QCOMPARE(d, QString("A planilha não tem a folha \"13\"."));
        QCOMPARE(ErroDe([&] { p.Valor("08", "4A"); }, &d), 1004L);
        QCOMPARE(ErroDe([&] { p.Valor("08", "A0"); }, &d), 1004L);
        QCOMPARE(ErroDe([&] { p.Valor("08", "XFE1"); }, &d), 1004L);

        // openpyxl alone leaves formulas without a value.
        const QString semValores = pasta_.filePath("sem_valores.xlsx");
        Planilha_Teste::Cria(semValores, {}, false);
        Planilha q(semValores);
        QCOMPARE(q.Valor("08", "A4"), QVariant(30.0));
        QCOMPARE(ErroDe([&] { q.Valor("08", "E2"); }, &d), 1004L);
        QVERIFY2(d.startsWith("A célula E2 da folha \"08\" tem uma fórmula sem valor calculado."), qPrintable(d));
    }

    // Written cells read back by openpyxl with their new value and type and
    // their style; every other cell, the merged ranges and the names as
    // they were; the chain gone, recalculation asked, the permissions
    // kept; LibreOffice's recalculation sees the new values.
    void escrita() {
        const QString arquivo = copia();
        Planilha_Teste::Poe_Cadeia(arquivo, "E2");
        QFile(arquivo).setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
        const auto permissoes = QFile(arquivo).permissions();
        const QJsonObject antes = Planilha_Teste::Le(arquivo);
        QVERIFY(antes["partes"].toArray().contains("xl/calcChain.xml"));
        {
            Planilha p(arquivo);
            p.Numero("08", "E4", 1234.56);   // over a value with a fill
            p.Numero("08", "N4", -5);        // over a formula
            p.Numero("08", "Z4", 0.1);       // a cell the row lacks
            p.Numero("08", "E300", 7);       // a row the sheet lacks
            p.Texto("08", "A1", "SÃO JOÃO & CIA <1>");  // in a merged range
            p.Texto("tc", "E6", " AGOSTO ");
            p.Data("TC", "D45", QDate(2021, 8, 15));  // a date format already
            p.Data("TC", "D49", QDate(2021, 8, 16));  // none: it gets one
            p.Data("TC", "D51", QDate(2021, 8, 17));  // none, bold: stays bold
            p.Esvazia("08", "T4");
            p.Esvazia("08", "A299");  // nothing there: nothing made
            p.Seleciona("TC", "F75");
            QCOMPARE(p.Valor("08", "E4"), QVariant(1234.56));
            QCOMPARE(p.Valor("TC", "E6"), QVariant(QString(" AGOSTO ")));
            p.Salva();
        }
        QCOMPARE(QFile(arquivo).permissions(), permissoes);
        const QJsonObject depois = Planilha_Teste::Le(arquivo);
        const QMap<QString, QJsonObject> escritas = {
            {"08!E4", {{"v", 1234.56}, {"t", "n"}, {"fmt", "#,##0.00"}, {"preenchimento", "FFFFFF00"}}},
            {"08!N4", {{"v", -5}, {"t", "n"}}},
            {"08!Z4", {{"v", 0.1}, {"t", "n"}}},
            {"08!E300", {{"v", 7}, {"t", "n"}}},
            {"08!A1", {{"v", "SÃO JOÃO & CIA <1>"}, {"t", "s"}, {"negrito", true}}},
            {"TC!E6", {{"v", " AGOSTO "}, {"t", "s"}, {"negrito", true}}},
            {"TC!D45", {{"v", "2021-08-15T00:00:00"}, {"t", "d"}, {"fmt", "dd/mm/yyyy"}}},
            {"TC!D49", {{"v", "2021-08-16T00:00:00"}, {"t", "d"}, {"fmt", "dd/mm/yyyy"}, {"negrito", false}}},
            {"TC!D51", {{"v", "2021-08-17T00:00:00"}, {"t", "d"}, {"fmt", "dd/mm/yyyy"}, {"negrito", true}}},
            {"08!T4", {{"v", QJsonValue()}}},
            // Formulas over written cells keep the formula, not its value.
            {"08!E2", {{"v", "=SUM(E4:E600)"}, {"c", QJsonValue()}}},
            {"08!N2", {{"v", "=E2-M2"}, {"c", QJsonValue()}}},
        };
        const QStringList diferencas = Planilha_Teste::Diferencas(antes, depois, escritas);
        QVERIFY2(diferencas.isEmpty(), qPrintable(diferencas.join('\n')));
        QCOMPARE(depois["mescladas"], antes["mescladas"]);
        QCOMPARE(depois["nomes"], antes["nomes"]);
        QCOMPARE(depois["folhas"], antes["folhas"]);
        QVERIFY(!depois["partes"].toArray().contains("xl/calcChain.xml"));
        QVERIFY2(depois["calcPr"].toString().contains("fullCalcOnLoad=\"1\""), qPrintable(depois["calcPr"].toString()));
        QCOMPARE(depois["ativa"].toString(), QString("TC"));
        QCOMPARE(depois["selecionadas"].toObject(), (QJsonObject{{"TC", "F75"}}));
        // Every entry written anew deflated at zlib's usual level.
        QStringList reescritas;
        for (const QString& parte : depois["crc"].toObject().keys())
            if (antes["crc"][parte] != depois["crc"][parte]) reescritas << parte;
        QVERIFY(reescritas.contains(Folha08));
        for (const QString& parte : reescritas)
            QVERIFY2(depois["nivel6"].toArray().contains(parte), qPrintable(parte + " não está no nível 6"));

        const QJsonObject recalculado = Planilha_Teste::Le(Planilha_Teste::Recalculado(arquivo));
        QCOMPARE(Celula(recalculado, "08", "E2")["c"].toDouble(), 1234.56 + 900 + 7);
        QCOMPARE(Celula(recalculado, "08", "N2")["c"].toDouble(), 1234.56 + 900 + 7 - 300);
        QCOMPARE(Celula(recalculado, "08", "N4")["v"].toDouble(), -5.0);
    }

    void falhas_data() {
        const auto nada = [](const QString&) {};
        const auto abre = [](const QString& a) { Planilha p(a); };
        const auto salva = [](const QString& a) {
            Planilha p(a);
            p.Numero("08", "E4", 1);
            p.Salva();
        };
        const auto escreve = [](const std::function<void(Planilha&)>& escrita) {
            return [escrita](const QString& a) {
                Planilha p(a);
                escrita(p);
                p.Salva();
            };
        };
        // An array formula over E4:E6, whose cells the sheet holds; or over
        // E4:F6, whose column F it lacks.
        const auto matriz = [](const QString& a) { Planilha_Teste::Cria_Compartilhada(a, "matriz"); };
        const auto matrizLarga = [](const QString& a) {
            Planilha_Teste::Cria_Compartilhada(a, "matriz");
            Planilha_Teste::Troca(a, "xl/worksheets/sheet1.xml", "ref=\"E4:E6\"", "ref=\"E4:F6\"");
        };
        Tabela<Falha>({
            {"texto com nome de planilha", {[](const QString& a) { Escreve(a, "Código;Valor\n12;5\n"); }, abre, 1004,
                                            "não é uma planilha do Excel (.xlsx)."}},
            {"arquivo vazio", {[](const QString& a) { Escreve(a, ""); }, abre, 1004, "não é uma planilha"}},
            {"zip que não é planilha", {Zip_Sem_Planilha, abre, 1004, "não é uma planilha"}},
            {"arquivo que sumiu", {[](const QString& a) { QFile::remove(a); }, abre, 53, ""}},
            {"folha que falta", {nada, [](const QString& a) {
                                     Planilha p(a);
                                     p.Numero("08", "E4", 1);
                                     p.Numero("DADO", "E22", 1);
                                     p.Salva();
                                 }, 1004, "A planilha não tem a folha \"DADO\"."}},
            {"somente leitura", {[](const QString& a) { QFile(a).setPermissions(QFile::ReadOwner | QFile::ReadGroup); }, salva,
                                 70, ""}},
            {"aberta no LibreOffice", {[](const QString& a) {
                                           const QFileInfo i(a);
                                           Escreve(i.absolutePath() + "/.~lock." + i.fileName() + "#", "MARIA,host;");
                                       }, salva, 55, ""}},
            {"fórmula de matriz", {[](const QString& a) { Planilha_Teste::Cria_Compartilhada(a, "matriz"); }, salva, 1004,
                                   "A célula E4 da folha \"08\" tem uma fórmula que outras células repetem"}},
            {"tabela de dados", {[](const QString& a) { Planilha_Teste::Cria_Compartilhada(a, "tabela"); }, salva, 1004,
                                 "A célula E4 da folha \"08\" tem uma fórmula que outras células repetem"}},
            {"número no meio de uma fórmula de matriz", {matriz, escreve([](Planilha& p) { p.Numero("08", "E5", 77); }), 1004,
                                                         "A célula E5 da folha \"08\" faz parte de E4:E6, que uma fórmula preenche"}},
            {"data no fim de uma tabela de dados", {[](const QString& a) { Planilha_Teste::Cria_Compartilhada(a, "tabela"); },
                                                    escreve([](Planilha& p) { p.Data("08", "E6", QDate(2021, 8, 1)); }), 1004,
                                                    "A célula E6 da folha \"08\" faz parte de E4:E6"}},
            {"célula de matriz esvaziada", {matriz, escreve([](Planilha& p) { p.Esvazia("08", "E6"); }), 1004,
                                            "A célula E6 da folha \"08\" faz parte de E4:E6"}},
            {"célula de matriz que a folha não tem", {matrizLarga, escreve([](Planilha& p) { p.Texto("08", "F5", "x"); }), 1004,
                                                      "A célula F5 da folha \"08\" faz parte de E4:F6"}},
            {"célula de matriz que a folha não tem, esvaziada", {matrizLarga, escreve([](Planilha& p) { p.Esvazia("08", "F6"); }),
                                                                 1004, "A célula F6 da folha \"08\" faz parte de E4:F6"}},
            {"folhas de nomes que só a caixa distingue", {[](const QString& a) {
                                                              Planilha_Teste::Troca(a, "xl/workbook.xml", "name=\"07\"", "name=\"dados\"");
                                                          }, salva, 1004,
                                                          "A planilha tem duas folhas com o mesmo nome: \"dados\" e \"DADOS\"."}},
            {"folhas de nomes que só a caixa das letras acentuadas distingue",
             {[](const QString& a) {
                  Planilha_Teste::Troca(a, "xl/workbook.xml", "name=\"07\"", "name=\"Ação\"");
                  Planilha_Teste::Troca(a, "xl/workbook.xml", "name=\"09\"", "name=\"AÇÃO\"");
              }, salva, 1004, "A planilha tem duas folhas com o mesmo nome: \"Ação\" e \"AÇÃO\"."}},
            {"linha além da última", {[](const QString& a) {
                                          Planilha_Teste::Troca(a, Folha08, "</sheetData>",
                                                                "<row r=\"1048577\"><c r=\"A1048577\"><v>1</v></c></row></sheetData>");
                                      }, salva, 1004, "não é uma planilha"}},
            {"linha que não cabe num int", {[](const QString& a) {
                                                Planilha_Teste::Troca(a, Folha08, "</sheetData>",
                                                                      "<row r=\"2147483647\"/><row/></sheetData>");
                                            }, salva, 1004, "não é uma planilha"}},
            {"coluna além da última", {[](const QString& a) { Planilha_Teste::Troca(a, Folha08, "<c r=\"X5\"", "<c r=\"AAAAAAAAAAAAAX5\""); },
                                       salva, 1004, "não é uma planilha"}},
            {"parte que diz ter 4 GiB", {[](const QString& a) { Planilha_Teste::Mente(a, Folha08, 0xFFFFFFF0); },
                                         [salva](const QString& a) {
                                             const Memoria_Limitada memoria;
                                             salva(a);
                                         }, 1004, "não é uma planilha"}},
        });
    }
    // Each error with its number and what it names; the file as it was.
    void falhas() {
        QFETCH(Falha, caso);
        const QString arquivo = copia();
        caso.prepara(arquivo);
        const QByteArray bytes = Bytes(arquivo);
        const QStringList arquivos = QDir(pasta_.path()).entryList(QDir::Files | QDir::Hidden);
        QString descricao;
        QCOMPARE(ErroDe([&] { caso.faz(arquivo); }, &descricao), caso.numero);
        QVERIFY2(descricao.contains(caso.descricao), qPrintable(descricao));
        QCOMPARE(Bytes(arquivo), bytes);
        QCOMPARE(QDir(pasta_.path()).entryList(QDir::Files | QDir::Hidden), arquivos);
    }

    // A formula written once and repeated below: a repeating cell takes a
    // value, and the others keep reading the first one.
    void formulaRepetida() {
        const QString arquivo = pasta_.filePath("compartilhada.xlsx");
        Planilha_Teste::Cria_Compartilhada(arquivo);
        {
            Planilha p(arquivo);
            QCOMPARE(p.Valor("08", "E5"), QVariant(4.0));
            p.Numero("08", "E5", 40);
            p.Salva();
        }
        const QJsonObject recalculado = Planilha_Teste::Le(Planilha_Teste::Recalculado(arquivo));
        QCOMPARE(Celula(recalculado, "08", "E4")["c"].toDouble(), 2.0);
        QCOMPARE(Celula(recalculado, "08", "E5")["c"].toDouble(), 40.0);
        QCOMPARE(Celula(recalculado, "08", "E6")["c"].toDouble(), 6.0);
    }

    void compartilhada_data() { Tabela<QString>({{"coluna", "coluna"}, {"bloco", "bloco"}}); }
    // The first cell of a formula repeated down a column, or over a block,
    // replaced: the cells that repeated it keep their formulas, now
    // written from the next of them (openpyxl, which reads a repeated
    // formula by moving its first cell's, reads every one as before), and
    // LibreOffice calculates the same values for them.
    void compartilhada() {
        QFETCH(QString, caso);
        const QString arquivo = pasta_.filePath("compartilhada_" + caso + ".xlsx");
        Planilha_Teste::Cria_Compartilhada(arquivo, caso);
        const QJsonObject calculado = Planilha_Teste::Le(Planilha_Teste::Recalculado(arquivo));
        QJsonObject antes, depois;
        Escreve_Numero(arquivo, "08", "E4", 40, antes, depois);

        const QJsonObject recalculado = Planilha_Teste::Le(Planilha_Teste::Recalculado(arquivo));
        int formulas = 0;
        for (const QString& celula : std::as_const(antes)["celulas"]["08"].toObject().keys()) {
            if (celula == "E4" || Celula(antes, "08", celula)["t"] != "f") continue;
            ++formulas;
            QVERIFY2(Celula(calculado, "08", celula)["c"].isDouble(), qPrintable(celula));
            QCOMPARE(Celula(recalculado, "08", celula)["c"], Celula(calculado, "08", celula)["c"]);
        }
        QCOMPARE(formulas, caso == "bloco" ? 7 : 2);
        QCOMPARE(Celula(recalculado, "08", "E4")["c"].toDouble(), 40.0);
    }

    void deslocamento_data() {
        Tabela<Deslocamento>({
            {"relativa", {"A4*2", 0, 1, "A5*2"}},
            {"ancoradas", {"$A$4+A$4+$A4+a4", 1, 1, "$A$4+B$4+$A5+B5"}},
            {"intervalo e interseção", {"SUM(A4:B4)+SUM(A1:A5 B3:C3)", 1, 0, "SUM(B4:C4)+SUM(B1:B5 C3:D3)"}},
            {"outras folhas", {"'Saídas 2021'!A4+TC!$I$45+'A1'!B2+[1]Plan1!C3", 0, 2,
                               "'Saídas 2021'!A6+TC!$I$45+'A1'!B4+[1]Plan1!C5"}},
            {"várias folhas", {"SUM(Jan:Dez!A1)+SUM(Q1:Q4!B2)", 0, 1, "SUM(Jan:Dez!A2)+SUM(Q1:Q4!B3)"}},
            {"textos", {"LEN(\"A4\")&\"x\"\"A4:B4\"&B4", 0, 1, "LEN(\"A4\")&\"x\"\"A4:B4\"&B5"}},
            {"funções e nomes", {"LOG10(100)+ATAN2(1,1)+_xlfn.XLOOKUP(A1,B:B,C:C)+Total2021*1.5E+3+TAX2021", 0, 1,
                                 "LOG10(100)+ATAN2(1,1)+_xlfn.XLOOKUP(A2,B:B,C:C)+Total2021*1.5E+3+TAX2022"}},
            {"colunas e linhas inteiras", {"COUNT(A:A)+SUM(4:4)+SUM($B:$B)+SUM($1:2)", 1, 1,
                                           "COUNT(B:B)+SUM(5:5)+SUM($B:$B)+SUM($1:3)"}},
            {"tabelas e erros", {"Tabela1[Valor]+Tabela1[[#This Row],[A1]]+IF(ISNA(#N/A),#REF!,A1)+A1#", 0, 1,
                                 "Tabela1[Valor]+Tabela1[[#This Row],[A1]]+IF(ISNA(#N/A),#REF!,A2)+A2#"}},
            {"para a esquerda", {"B2+$A2", -1, -1, "A1+$A1"}},
            {"além da última linha", {"A1048576+1", 0, 1, ""}},
            {"além da última coluna", {"XFD1", 1, 0, ""}},
            {"antes da primeira", {"A1", 0, -1, ""}},
        });
    }
    // The relative parts of a formula's references move, and nothing else.
    void deslocamento() {
        QFETCH(Deslocamento, caso);
        std::string saida;
        const bool moveu = Planilha_Interna::Desloca_Formula(caso.formula.toStdString(), caso.colunas, caso.linhas, saida);
        QCOMPARE(moveu, !caso.esperada.isEmpty());
        if (moveu) QCOMPARE(QString::fromStdString(saida), caso.esperada);
    }

    void dependencias_data() {
        Tabela<Dependencia>({
            {"células e faixas", {"A1+SUM($B$2:C3)*B$4", "A1 $B$2:C3 B$4"}},
            {"outras folhas", {"Dados!A1+'Saídas 2021'!$B2:C3+'O''Brien'!A1", "Dados!A1 Saídas 2021!$B2:C3 O'Brien!A1"}},
            {"várias folhas", {"SUM(Jan:Dez!C3)", "Jan:Dez!C3"}},
            {"faixa de três pontas", {"SUM(Dados!B2:C3:A1)+B5:C6:$A$1:D2", "Dados!B2:C3:A1 B5:C6:$A$1:D2"}},
            {"colunas e linhas inteiras", {"COUNT(B:C)+SUM(4:5)", "B$1:C$1048576 $A4:$XFD5"}},
            {"textos, números e erros", {"LEN(\"A1:B2\")+1.5E+3+TRUE+IF(ISNA(#N/A),#REF!,0)", ""}},
            {"nomes", {"TotalRemessas*2+Dados!Taxa+_xlfn.XLOOKUP(A1,B1,C1)", "A1 B1 C1 nome:TotalRemessas nome:Dados!Taxa"}},
            {"INDIRECT", {"INDIRECT(\"A\"&B1)", "B1 ?"}},
            {"OFFSET", {"SUM(offset(A1,1,1))", "A1 ?"}},
            {"outro livro", {"[1]Plan1!A1+'C:\\x\\[Livro.xlsx]Plan1'!B2", "Plan1!A1 C:\\x\\[Livro.xlsx]Plan1!B2 ?"}},
            {"tabela", {"SUM(Tabela1[Valor])", "?"}},
            {"transbordo", {"SUM(A1#)", "A1 ?"}},
            {"faixa de função", {"SUM(INDEX(A1:A9,2):B5)", "A1:A9 B5 ?"}},
        });
    }
    // What a formula's result can depend on, read from its text.
    void dependencias() {
        QFETCH(Dependencia, caso);
        Planilha_Interna::Dependencias d;
        d.indeterminada = true;
        d.nomes.push_back({"", "antes"});  // what it held is gone
        Planilha_Interna::Le_Dependencias(caso.formula.toStdString(), d);
        QCOMPARE(Descreve(d), caso.esperada);
    }

    // The statement written over a workbook saved by LibreOffice: opened
    // by LibreOffice at its defaults (which shows the values saved with
    // the formulas) it shows what a full recalculation shows, and openpyxl
    // reads no old value; formulas that depend on nothing written keep
    // theirs, and the program still reads them. Among them: a range of
    // three ends (the box of them all, which the third end alone may take
    // to a written cell), a workbook's name built on a name that a sheet
    // has its own of (either can be meant), a sheet's own name used there
    // in place of the workbook's of the same text, references over
    // several sheets, to a sheet named in another case, through a
    // workbook's name, and through a chain of names longer than the
    // editor follows, or to none.
    void valoresDependentes() {
        const QString arquivo = pasta_.filePath("dependentes.xlsx");
        QJsonObject nomes{{"Taxa", "DADOS!$F$22"}, {"Total", "Taxa*2"}, {"Custo01", "DADOS!$F$15"}, {"Passo0", "DADOS!$F$22"}};
        for (int k = 1; k <= 34; ++k) nomes[QString("Passo%1").arg(k)] = QString("Passo%1*1").arg(k - 1);
        Planilha_Teste::Cria(arquivo, QJsonObject{
            {"nomes", nomes},
            {"nomes_locais", QJsonObject{{"FECHAMENTO", QJsonObject{{"Taxa", "DADOS!$F$15"}}},
                                         {"TC", QJsonObject{{"Custo01", "DADOS!$F$22"}}}}},
            {"celulas", QJsonObject{
                {"FECHAMENTO", QJsonObject{{"B12", "=\"MÊS: \"&B11"}, {"B14", "=TotalRemessas*1"}, {"B15", "='01'!E2"},
                                           {"B16", "=Total"}, {"B17", "=SUM('07:09'!E4)"}, {"B18", "=SUM('01:07'!E4)"},
                                           {"B19", "=Taxa*1"}}},
                {"08", QJsonObject{{"A6", "=(0.1+0.2)*40"}, {"A7", "='07'!A4"}}},
                {"TC", QJsonObject{{"I55", "=INDIRECT(\"I53\")"}, {"I60", "=SUM('08'!A1:E4)"}, {"I61", "=Total"},
                                   {"I62", "=Custo01*1"}, {"I63", "=SUM(DADOS!E22:G26)"}}},
                {"DADOS", QJsonObject{{"H22", "=IF(G22>100,\"alto\",\"baixo\")"}, {"H23", "=ISNUMBER(G23)"},
                                      {"H24", "=ISNUMBER(G22)"}, {"H25", "=DADOS!F15"}, {"H26", "=DADOS!F22"},
                                      {"H27", "=Custo01*1"}, {"H28", "=Passo34*1"}, {"H29", "=Inexistente*1"}}}}}});
        // As other programs write them, which LibreOffice writes otherwise.
        Planilha_Teste::Troca(arquivo, "xl/worksheets/sheet14.xml", "SUM(&apos;08&apos;!A1:E4)", "SUM(&apos;08&apos;!B2:E4:A1)");
        Planilha_Teste::Troca(arquivo, "xl/worksheets/sheet14.xml", "SUM(DADOS!E22:G26)", "SUM(DADOS!F23:G26:E22)");
        Planilha_Teste::Troca(arquivo, "xl/worksheets/sheet15.xml", ">DADOS!F15<", ">dados!F15<");
        Planilha_Teste::Troca(arquivo, "xl/worksheets/sheet15.xml", ">DADOS!F22<", ">dados!F22<");
        {
            Planilha p(arquivo);
            p.Texto("FECHAMENTO", "B11", "AGOSTO");
            for (const char* c : {"E", "F", "G", "H", "I", "M"}) {
                p.Numero("08", QString(c) + "4", 100);
                p.Esvazia("08", QString(c) + "5");
            }
            p.Numero("08", "M4", 0.25);
            for (const char* c : {"T4", "U4", "T5", "U5"}) p.Esvazia("08", c);
            p.Texto("TC", "E6", "AGOSTO");
            p.Data("TC", "D45", QDate(2021, 8, 5));
            p.Numero("TC", "I45", 250);
            p.Numero("TC", "I47", 250);
            for (const char* c : {"D49", "I49", "D51", "I51"}) p.Esvazia("TC", c);
            p.Data("DADOS", "C22", QDate(2021, 9, 1));
            p.Numero("DADOS", "E22", 45);
            p.Numero("DADOS", "F22", 120);
            p.Seleciona("TC", "F75");
            p.Salva();
        }
        const QJsonObject depois = Planilha_Teste::Le(arquivo);
        const QJsonObject aberto = Planilha_Teste::Le(Planilha_Teste::Aberto(arquivo));
        const QJsonObject recalculado = Planilha_Teste::Le(Planilha_Teste::Recalculado(arquivo));
        int formulas = 0;
        QStringList antigos;
        for (const QString& folha : recalculado["celulas"].toObject().keys()) {
            for (const QString& celula : recalculado["celulas"][folha].toObject().keys()) {
                if (Celula(recalculado, folha, celula)["t"] != "f") continue;
                ++formulas;
                const QJsonValue certo = Celula(recalculado, folha, celula)["c"];
                const QJsonValue lido = Celula(depois, folha, celula)["c"];
                if (!lido.isNull() && lido != certo) antigos << folha + "!" + celula;
            }
        }
        QVERIFY2(formulas > 100, qPrintable(QString::number(formulas)));
        const QStringList diferentes = Planilha_Teste::Valores_Diferentes(aberto, recalculado);
        QVERIFY2(diferentes.isEmpty(), qPrintable(diferentes.join(' ')));
        QVERIFY2(antigos.isEmpty(), qPrintable(antigos.join(' ')));
        QCOMPARE(Celula(aberto, "TC", "I53")["c"].toDouble(), 500.0);
        QCOMPARE(Celula(aberto, "08", "N4")["c"].toDouble(), 99.75);
        QCOMPARE(Celula(aberto, "FECHAMENTO", "B12")["c"].toString(), QString("MÊS: AGOSTO"));
        QCOMPARE(Celula(aberto, "FECHAMENTO", "B14")["c"].toDouble(), 500.0);
        QCOMPARE(Celula(aberto, "TC", "I55")["c"].toDouble(), 500.0);
        QCOMPARE(Celula(aberto, "TC", "I61")["c"].toDouble(), 240.0);
        QCOMPARE(Celula(aberto, "DADOS", "H22")["c"].toString(), QString("alto"));
        QCOMPARE(Celula(aberto, "DADOS", "H24")["c"].toBool(), true);
        for (const char* celula : {"TC!I53", "TC!H60", "08!N4", "08!E2", "08!N2", "FECHAMENTO!B12", "FECHAMENTO!B13",
                                   "FECHAMENTO!B14", "DADOS!G22", "DADOS!G27", "DADOS!H22", "DADOS!H24", "TC!I55", "TC!I60",
                                   "TC!I61", "FECHAMENTO!B16", "FECHAMENTO!B17", "DADOS!H26", "DADOS!H28", "DADOS!H29",
                                   "TC!I62", "TC!I63"}) {
            const QString nome(celula);
            QVERIFY2(Celula(depois, nome.section('!', 0, 0), nome.section('!', 1))["c"].isNull(), celula);
        }
        // What depends on nothing written keeps its value.
        for (const char* celula : {"01!E2", "01!N4", "07!N2", "08!N6", "FECHAMENTO!B15", "DADOS!G21", "DADOS!H23", "08!A6", "08!A7",
                                   "FECHAMENTO!B18", "DADOS!H25", "DADOS!H27", "FECHAMENTO!B19"}) {
            const QString nome(celula);
            QVERIFY2(!Celula(depois, nome.section('!', 0, 0), nome.section('!', 1))["c"].isNull(), celula);
        }
        Planilha p(arquivo);
        QCOMPARE(qRound(p.Valor("08", "A6").toDouble()), 12);
        QCOMPARE(p.Valor("08", "A7"), QVariant(30.0));
    }

    void folhaNaoLida_data() {
        Tabela<QString>({
            {"como o LibreOffice grava", "<c r=\"A100\"><f>'08'!E4*2</f><v>1800</v></c>"},
            {"aspas simples e espaços", "<c  r = 'A100' s='0' ><f >&apos;08&apos;!E4*2</f ><v>1800</v></c>"},
            {"referências numéricas", "<c r=\"A100\"><f>&#39;08&#x27;!E4&#42;2</f><v>1800</v></c>"},
            {"CDATA", "<c r=\"A100\"><f><![CDATA['08'!E4*2]]></f><v>1800</v></c>"},
            {"comentário", "<c r=\"A100\"><!-- dízimos --><f>'08'!E4*2</f><v>1800</v></c>"},
            {"por um nome", "<c r=\"A100\"><f>SUM(Entradas_Agosto)</f><v>1800</v></c>"},
            {"valor em texto embutido", "<c r=\"A100\" t=\"inlineStr\"><f>'08'!E4&amp;\"\"</f><is><t>900</t></is></c>"},
        });
    }
    // A sheet the run does not otherwise read, whose text may be written
    // in any way XML allows: its formula over a written cell of another
    // sheet loses its value (kept as an inline text too), and the formulas
    // beside it that depend on nothing written keep theirs (a formula
    // written for E3 and repeated in the next row reaches E4 there alone).
    void folhaNaoLida() {
        QFETCH(QString, caso);
        const QString arquivo = copia();
        const QString folha = "xl/worksheets/sheet1.xml";  // FECHAMENTO, selected: only its head is rewritten
        Planilha_Teste::Troca(arquivo, folha, "</sheetData>",
                              "<row r=\"100\">" + caso + "<c r=\"B100\"><f>'08'!Z99+1</f><v>1</v></c></row>"
                              "<row r=\"101\"><c r=\"A101\"><f t=\"shared\" ref=\"A101:A102\" si=\"90\">'08'!E3</f><v>5</v></c></row>"
                              "<row r=\"102\"><c r=\"A102\"><f t=\"shared\" si=\"90\"/><v>5</v></c></row></sheetData>");
        Planilha_Teste::Troca(arquivo, "xl/workbook.xml", "<definedNames>",
                              "<definedNames><definedName name=\"Entradas_Agosto\">'08'!$E$4:$E$5</definedName>");
        {
            Planilha p(arquivo);
            p.Numero("08", "E4", 7);
            p.Seleciona("TC", "F75");
            p.Salva();
        }
        const QJsonObject depois = Planilha_Teste::Le(arquivo);
        QVERIFY(Celula(depois, "FECHAMENTO", "A100")["c"].isNull());
        QCOMPARE(Celula(depois, "FECHAMENTO", "B100")["c"].toDouble(), 1.0);
        QCOMPARE(Celula(depois, "FECHAMENTO", "A101")["c"].toDouble(), 5.0);
        QVERIFY(Celula(depois, "FECHAMENTO", "A102")["c"].isNull());
        QCOMPARE(depois["selecionadas"].toObject(), (QJsonObject{{"TC", "F75"}}));
    }

    void folhaIncerta_data() {
        Tabela<QStringList>({
            {"UTF-16 com marca", {"utf-16-le", "1"}},
            {"UTF-16 sem marca", {"utf-16-le", "0"}},
            {"comentário antes da raiz com outro prefixo", {"<worksheet", "<!-- <x:nota> --><worksheet"}},
            {"célula num comentário", {"</row></sheetData>", "<!-- <c r=\"B100\"><f>'08'!E4</f></c> --></row></sheetData>"}},
            {"célula num CDATA", {"</row></sheetData>", "<c r=\"C100\" t=\"inlineStr\"><is><t><![CDATA[<c r=\"B100\"><f>'08'!E4"
                                                     "</f></c>]]></t></is></c></row></sheetData>"}},
            {"célula numa instrução", {"</row></sheetData>", "<?nota <c r=\"B100\"><f>'08'!E4</f></c>?></row></sheetData>"}},
            {"célula cuja linha diz outra", {"<c r=\"A100\">", "<c r=\"A99\">"}},
        });
    }
    // A sheet the run does not otherwise read, written in a way its scan
    // as text does not follow: its formula over a written cell loses its
    // value all the same, and no plain value is touched (read back by
    // Qt's XML reader).
    void folhaIncerta() {
        QFETCH(QStringList, caso);
        const QString arquivo = copia();
        const QString folha = Folha01;  // neither written nor selected: the run reads it as text alone
        Planilha_Teste::Troca(arquivo, folha, "</sheetData>",
                              "<row r=\"99\"><c r=\"A99\"><v>5</v></c></row><row r=\"100\"><c r=\"A100\"><f>'08'!E4*2</f>"
                              "<v>1800</v></c><c r=\"B100\"><v>7</v></c></row></sheetData>");
        if (caso[0].startsWith("utf")) Planilha_Teste::Codifica(arquivo, folha, caso[0], caso[1] == "1");
        else Planilha_Teste::Troca(arquivo, folha, caso[0], caso[1]);
        const QList<Celula_Lida> antes = Celulas_Lidas(Planilha_Teste::Entrada(arquivo, folha));
        {
            Planilha p(arquivo);
            p.Numero("08", "E4", 7);
            p.Seleciona("TC", "F75");
            p.Salva();
        }
        const QList<Celula_Lida> depois = Celulas_Lidas(Planilha_Teste::Entrada(arquivo, folha));
        const auto valores = [](const QList<Celula_Lida>& celulas) {
            QList<Celula_Lida> r;
            for (const Celula_Lida& c : celulas)
                if (c.formula.isNull()) r << c;
            return r;
        };
        QVERIFY(valores(antes).size() > 2);
        QCOMPARE(valores(depois), valores(antes));
        int dependentes = 0;
        for (const Celula_Lida& c : depois) {
            if (c.formula != "'08'!E4*2") continue;
            ++dependentes;
            QVERIFY2(c.valor.isNull(), qPrintable(c.r + " = " + c.valor));
        }
        QCOMPARE(dependentes, 1);
    }

    void semMemoria_data() {
        Tabela<Apertada>({
            {"o arquivo novo não cabe", {64, "erro 7: Memória insuficiente."}},
            {"o arquivo novo cabe", {1, ""}},
        });
    }
    // A save whose new archive does not fit in memory (in a process of its
    // own, whose address space is held to 32 MiB more than it uses before
    // saving) fails with the program's error for it, the file as it was and
    // nothing left beside it; the same save of a smaller archive, with no
    // more memory than that, is saved.
    void semMemoria() {
        QFETCH(Apertada, caso);
        const QString arquivo = copia();
        Planilha_Teste::Acrescenta(arquivo, "xl/media/fundo.bin", qint64(caso.mib) << 20);
        const QByteArray bytes = Bytes(arquivo);
        const QStringList arquivos = QDir(pasta_.path()).entryList(QDir::Files | QDir::Hidden);
        QProcess p;
        Inicia_Outro(p, "salva_planilha", {arquivo, "32"});
        QVERIFY(p.waitForFinished(60000));
        QCOMPARE(p.exitStatus(), QProcess::NormalExit);
        QCOMPARE(QString::fromUtf8(p.readAllStandardOutput()).trimmed(), caso.saida);
        QCOMPARE(QDir(pasta_.path()).entryList(QDir::Files | QDir::Hidden), arquivos);
        if (caso.saida.isEmpty()) QCOMPARE(Planilha(arquivo).Valor("08", "E4"), QVariant(7.0));
        else QCOMPARE(Bytes(arquivo), bytes);
    }

    // A dependent array formula over the whole sheet: the save visits the
    // cells the sheet holds, not the seventeen thousand million the range
    // names, and ends at once (in a process of its own, stopped after a
    // minute); the array's values go, the cells beside it keep theirs.
    void matrizDaFolhaInteira() {
        const QString arquivo = copia();
        const QString folha = "xl/worksheets/sheet1.xml";  // FECHAMENTO
        Planilha_Teste::Troca(arquivo, folha, "</sheetData>",
                              "<row r=\"199\"><c r=\"B199\"><v>3</v></c></row><row r=\"200\"><c r=\"A200\">"
                              "<f t=\"array\" ref=\"A200:XFD1048576\">'08'!E4:E5*1</f><v>900</v></c><c r=\"B200\"><v>900</v></c>"
                              "</row></sheetData>");
        QProcess p;
        Inicia_Outro(p, "salva_planilha", {arquivo});
        if (!p.waitForFinished(60000)) {
            p.kill();
            p.waitForFinished();
            QFAIL("a gravação não terminou em um minuto");
        }
        QCOMPARE(p.exitCode(), 0);
        QList<Celula_Lida> valores;
        for (const Celula_Lida& c : Celulas_Lidas(Planilha_Teste::Entrada(arquivo, folha)))
            if (c.r == "A200" || c.r == "B200" || c.r == "B199") valores << c;
        QCOMPARE(valores, (QList<Celula_Lida>{{"B199", {}, "3"}, {"A200", "'08'!E4:E5*1", {}}, {"B200", {}, {}}}));
    }

    void prefixos_data() {
        Tabela<Prefixos>({
            {"folha não lida, toda sob o prefixo da raiz", {Folha01, "raiz", false}},
            {"folha escrita, toda sob o prefixo da raiz", {Folha08, "raiz", false}},
            {"folha não lida, espaço padrão declarado de novo", {Folha01, "repetido", false}},
            {"folha não lida, outro prefixo declarado e não usado", {Folha01, "sobra", false}},
            {"folha não lida, dados sem o prefixo da raiz", {Folha01, "dados", true}},
            {"folha escrita, dados sem o prefixo da raiz", {Folha08, "dados", true}},
            {"folha não lida, linha sob um prefixo dela", {Folha01, "linha", true}},
            {"folha escrita, linha sob um prefixo dela", {Folha08, "linha", true}},
        });
    }
    // A sheet, the one written or one the run reads as text alone, with a
    // row 300 holding a formula over the cell written, whose elements
    // carry prefixes: all the root's ("raiz"), or unprefixed under the main
    // namespace declared again on sheetData ("repetido"), or with another
    // prefix declared for it on the root and never used ("sobra"). The run
    // writes into row 300 the one row there is, and the formula loses its
    // value. Where some elements of the main namespace carry another
    // prefix than the root's (sheetData and what it holds unprefixed under
    // a prefixed root, "dados"; a row under a prefix of its own, "linha"),
    // the run is refused and the file left as it was.
    void prefixos() {
        QFETCH(Prefixos, caso);
        const QString arquivo = copia();
        const QString principal = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
        const QString linha = caso.forma == "linha"
                                  ? "<y:row xmlns:y=\"" + principal + "\" r=\"300\"><y:c r=\"A300\"><y:f>'08'!E4*2</y:f><y:v>1800</y:v>"
                                                                    "</y:c></y:row>"
                                  : "<row r=\"300\"><c r=\"A300\"><f>'08'!E4*2</f><v>1800</v></c></row>";
        Planilha_Teste::Troca(arquivo, caso.parte, "</sheetData>", linha + "</sheetData>");
        if (caso.forma == "raiz" || caso.forma == "dados") Planilha_Teste::Prefixa(arquivo, caso.parte, caso.forma);
        if (caso.forma == "repetido") Planilha_Teste::Troca(arquivo, caso.parte, "<sheetData>", "<sheetData xmlns=\"" + principal + "\">");
        if (caso.forma == "sobra") Planilha_Teste::Troca(arquivo, caso.parte, "<worksheet ", "<worksheet xmlns:y=\"" + principal + "\" ");
        const auto escreve = [&arquivo] {
            Planilha p(arquivo);
            p.Numero("08", "E4", 7);
            p.Numero("08", "B300", 5);
            p.Salva();
        };
        if (caso.recusada) {
            const QByteArray bytes = Bytes(arquivo);
            QString descricao;
            QCOMPARE(ErroDe(escreve, &descricao), 1004L);
            QVERIFY2(descricao.contains("tem elementos de XML sob prefixos diferentes"), qPrintable(descricao));
            QCOMPARE(Bytes(arquivo), bytes);
            return;
        }
        const QJsonObject antes = Planilha_Teste::Le(arquivo);
        escreve();
        const QJsonObject depois = Planilha_Teste::Le(arquivo);
        QStringList semValor;
        const QStringList diferencas = Planilha_Teste::Diferencas(
            antes, depois, {{"08!E4", {{"v", 7}, {"t", "n"}}}, {"08!B300", {{"v", 5}, {"t", "n"}}}}, &semValor);
        QVERIFY2(diferencas.isEmpty(), qPrintable(diferencas.join('\n')));
        const QString folha = caso.parte == Folha08 ? "08" : "01";
        QVERIFY2(semValor.contains(folha + "!A300"), qPrintable(semValor.join(' ')));
        QCOMPARE(Planilha_Teste::Entrada(arquivo, caso.parte).count(" r=\"300\""), 1);
        QCOMPARE(Planilha_Teste::Entrada(arquivo, Folha08).count(" r=\"300\""), 1);
    }

    // A cell of a sheet the run reads as text alone that gives its address
    // twice, which XML forbids: its formula over the cell written is taken
    // as the parsed sheet reads it, at the first address, and loses its
    // value.
    void enderecoRepetido() {
        const QString arquivo = copia();
        Planilha_Teste::Troca(arquivo, Folha01, "</sheetData>",
                              "<row r=\"300\"><c r=\"A300\" r=\"B300\"><f>'08'!E4*2</f><v>1800</v></c></row></sheetData>");
        {
            Planilha p(arquivo);
            p.Numero("08", "E4", 7);
            p.Salva();
        }
        QString descricao;
        QCOMPARE(ErroDe([&] { Planilha(arquivo).Valor("01", "A300"); }, &descricao), 1004L);
        QVERIFY2(descricao.contains("tem uma fórmula sem valor calculado"), qPrintable(descricao));
    }

    void dependentes_data() { Tabela<QString>({{"coluna", "coluna"}, {"matriz", "matriz"}, {"bloco", "bloco"}}); }
    // A formula repeated down a column, an array formula, references of
    // every kind: the cells that depend on A5 lose their values, LibreOffice
    // at its defaults then shows what it calculates, and the others keep
    // theirs.
    void dependentes() {
        QFETCH(QString, caso);
        const QString arquivo = pasta_.filePath("dependentes_" + caso + ".xlsx");
        Planilha_Teste::Cria_Compartilhada(arquivo, caso);
        {
            Planilha p(arquivo);
            p.Numero("08", "A5", 1000);
            p.Salva();
        }
        const QJsonObject depois = Planilha_Teste::Le(arquivo);
        const QJsonObject aberto = Planilha_Teste::Le(Planilha_Teste::Aberto(arquivo));
        const QJsonObject recalculado = Planilha_Teste::Le(Planilha_Teste::Recalculado(arquivo));
        QStringList semValor;
        for (const QString& celula : recalculado["celulas"]["08"].toObject().keys()) {
            if (Celula(recalculado, "08", celula)["t"] != "f" && !celula.startsWith("E")) continue;
            if (Celula(depois, "08", celula)["c"].isNull()) semValor << celula;
        }
        const QStringList diferentes = Planilha_Teste::Valores_Diferentes(aberto, recalculado);
        QVERIFY2(diferentes.isEmpty(), qPrintable(diferentes.join(' ')));
        semValor.sort();
        // In the block the formulas of column E count column A, and F5's
        // "$A5" is A5.
        const QStringList esperadas = caso == "coluna"   ? QStringList{"E5"}
                                      : caso == "matriz" ? QStringList{"E4", "E5", "E6"}
                                                         : QStringList{"E4", "E5", "E6", "E7", "F5"};
        QCOMPARE(semValor, esperadas);
    }

    void disposicao_data() {
        Tabela<QString>({{"como o openpyxl grava", "openpyxl"}, {"reescritas no início", "inicio"},
                         {"reescritas no meio", "meio"}, {"reescritas no fim", "fim"}});
    }
    // Wherever the entries a save rewrites lie in the archive, the save
    // writes the whole workbook and the program goes on: the cell written,
    // every other as it was.
    void disposicao() {
        QFETCH(QString, caso);
        const QString arquivo = pasta_.filePath("disposicao_" + caso + ".xlsx");
        Planilha_Teste::Cria_Disposicao(arquivo, caso);
        QJsonObject antes, depois;
        Escreve_Numero(arquivo, "B", "A1", 42, antes, depois);
        QCOMPARE(Celula(depois, "C", "A2000")["v"].toInt(), 4000);
        QCOMPARE(depois["partes"], antes["partes"]);
    }

    // Another sheet than the one selected: its views change through the
    // parser alone, whatever its head says outside them, and a sheet
    // marked not selected is left as it was, byte for byte.
    void selecao() {
        const QString arquivo = copia();
        Planilha_Teste::Troca(arquivo, Folha01, "<sheetViews>", "<sheetViews><!-- tabSelected -->");
        const QJsonObject antes = Planilha_Teste::Le(arquivo);
        QCOMPARE(antes["selecionadas"].toObject().keys(), QStringList{"FECHAMENTO"});
        {
            Planilha p(arquivo);
            p.Seleciona("TC", "F75");
            p.Salva();
        }
        QCOMPARE(Planilha(arquivo).Valor("01", "A1"), QVariant(QString("MOVIMENTO DE JANEIRO")));
        const QJsonObject depois = Planilha_Teste::Le(arquivo);
        QCOMPARE(depois["selecionadas"].toObject(), (QJsonObject{{"TC", "F75"}}));
        QCOMPARE(depois["crc"][Folha01], antes["crc"][Folha01]);
        const QStringList diferencas = Planilha_Teste::Diferencas(antes, depois, {});
        QVERIFY2(diferencas.isEmpty(), qPrintable(diferencas.join('\n')));
    }

    void textos_data() {
        Tabela<QString>({
            {"escape escrito como texto", "_x0041_"},
            {"quase escape antes de um controle", QString("_x0041") + QChar(1) + "fim"},
            {"quase escape antes de um sublinhado", "_x0041__x0042"},
            {"retorno de carro", "linha 1\rlinha 2"},
            {"CR LF e tabulação", "a\r\nb\tc"},
            {"controles", QString("a") + QChar(2) + "b" + QChar(0x1F) + "\n"},
            {"sublinhados soltos", "_x004 _x00G1_ __"},
            {"não caracteres", QString("a") + QChar(0xFFFE) + "b" + QChar(0xFFFF)},
        });
    }
    // A text written reads back as it was, every character, and the sheet
    // is XML that Python's parser takes.
    void textos() {
        QFETCH(QString, caso);
        const QString arquivo = copia();
        {
            Planilha p(arquivo);
            p.Texto("TC", "F73", caso);
            p.Salva();
        }
        QCOMPARE(Planilha(arquivo).Valor("TC", "F73"), QVariant(caso));
        QProcess python;
        python.start("/usr/bin/python3", {"-c",
                                          "import sys, zipfile, xml.etree.ElementTree as E\n"
                                          "with zipfile.ZipFile(sys.argv[1]) as z:\n"
                                          "    for n in z.namelist():\n"
                                          "        if n.endswith('.xml'): E.fromstring(z.read(n))",
                                          arquivo});
        QVERIFY(python.waitForFinished());
        QVERIFY2(python.exitCode() == 0, python.readAllStandardError().constData());
    }

    // A workbook whose number formats claim the largest number: the date's
    // format takes the first number free from where a workbook's own
    // formats start.
    void formatoNoLimite() {
        const QString arquivo = copia();
        Planilha_Teste::Troca(arquivo, "xl/styles.xml", "<numFmts count=\"3\">",
                              "<numFmts count=\"4\"><numFmt numFmtId=\"2147483647\" formatCode=\"0.000\"/>");
        Planilha_Teste::Troca(arquivo, "xl/styles.xml", "formatCode=\"dd/mm/yyyy\"", "formatCode=\"dd/mm/yy\"");
        {
            Planilha p(arquivo);
            p.Data("TC", "D49", QDate(2021, 8, 16));
            p.Salva();
        }
        const QJsonObject depois = Planilha_Teste::Le(arquivo);
        QCOMPARE(Celula(depois, "TC", "D49")["fmt"].toString(), QString("dd/mm/yyyy"));
        QCOMPARE(Celula(depois, "TC", "D49")["v"].toString(), QString("2021-08-16T00:00:00"));
        QCOMPARE(depois["formatos"].toArray(), (QJsonArray{2147483647, 164, 165, 166, 167}));
    }

    // A workbook whose name is as long as a folder allows is saved like any
    // other, and nothing is left beside it.
    void nomeLongo() {
        QTemporaryDir dir;
        const QString nome = QString(250, QChar('T')) + ".xlsx";
        QCOMPARE(QFile::encodeName(nome).size(), 255);
        const QString arquivo = dir.filePath(nome);
        QVERIFY(QFile::copy(modelo_, arquivo));
        QFile(arquivo).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
        {
            Planilha p(arquivo);
            p.Numero("08", "E4", 12.5);
            p.Salva();
        }
        QCOMPARE(Planilha(arquivo).Valor("08", "E4"), QVariant(12.5));
        QCOMPARE(QFile(arquivo).permissions() & (QFile::ReadUser | QFile::WriteUser | QFile::ReadGroup | QFile::ReadOther),
                 QFile::ReadUser | QFile::WriteUser);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{nome});
    }

    // The old binary format is told by its first bytes, whatever the name.
    void formatoAntigo() {
        const QString xls = pasta_.filePath("termo.xlsx");
        Escreve(xls, QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) + QByteArray(504, '\0'));
        QVERIFY(Planilha::Formato_Antigo(xls));
        QVERIFY(!Planilha::Formato_Antigo(copia()));
        QVERIFY(!Planilha::Formato_Antigo(pasta_.filePath("nenhum.xls")));
        QCOMPARE(ErroDe([&] { Planilha p(xls); }), 1004L);
    }
};

REGISTRA_TESTE(tst_Planilha)
#include "tst_Planilha.moc"
