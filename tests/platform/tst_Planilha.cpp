// The workbook editor on statement workbooks made by openpyxl and saved by
// LibreOffice: cells read as they show (a formula by its value), numbers,
// texts and dates written in place with every other cell, style, formula,
// merged range and name as it was (read back by openpyxl), the
// spreadsheet asked to recalculate (LibreOffice's values checked), and
// every failure leaving the file byte for byte as it was.
#include "platform/Planilha.h"
#include "support/Ambiente.h"
#include "support/PlanilhaTeste.h"
#include "support/Registro.h"
#include "support/Tabela.h"
#include <QJsonArray>
#include <QProcess>
#include <QtTest>

namespace {
struct Falha {
    std::function<void(const QString& arquivo)> prepara;  // makes the file fail
    std::function<void(const QString& arquivo)> faz;      // what the run tries
    long numero;
    QString descricao;  // a part of the error's description
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
            {"fórmula repetida", {Planilha_Teste::Cria_Compartilhada, salva, 1004, "A célula E4 da folha \"08\""}},
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

    // A formula written once and repeated below: the repeating cells take
    // a value; the first one, which the others read, refuses (above).
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
