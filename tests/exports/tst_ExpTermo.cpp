// The closing-statement form driven from the main window's menu: the
// month's rows with the sector's congregations and their totals, the
// choice of the workbook through the drive, folder and file lists, and the
// statement run on a workbook made by openpyxl and saved by LibreOffice:
// every mapped cell read back by openpyxl with its value and type, every
// other cell as it was, the statement's formulas recalculated by
// LibreOffice, the installation's month posted once, and every refusal or
// failure leaving the workbook byte for byte as it was.
#include "common/Parametros.h"
#include "exports/ExpTermo.h"
#include "platform/ListasArquivos.h"
#include "platform/Relogio.h"
#include "platform/Shell.h"
#include "platform/Tela.h"
#include "printing/ImpLivroCx.h"
#include "support/Ambiente.h"
#include "support/Interacao.h"
#include "support/PlanilhaTeste.h"
#include "support/Registro.h"
#include "support/Tabela.h"
#include <QJsonArray>
#include <QtTest>

namespace {
const QColor Amarelo(255, 255, 0);
const QColor Preto(0, 0, 0);
const QString NaoEncontrado = "Arquivo não encontrado.";
const QString Antigo = "Esta planilha está no formato antigo (.xls). Abra-a na sua planilha eletrônica, salve-a como .xlsx "
                       "e escolha o arquivo .xlsx.";
const QString Recarregado = "Os dados do mês foram alterados e foram recarregados. Confira e exporte novamente.";
const QString MaisDeQuatro = "O mês tem mais de 4 remessas: só as 4 primeiras cabem no Termo. Lance as demais na planilha.";
const QString Concluida = "Rotina concluida com sucesso";
const QString PerguntaJornal = "Informe o Valor Pago do Jornal Tessarim R$";
const QString PerguntaSistema = "Informe o Valor Pago do Sistema Vendral R$";
const QString NomeLongo = "CONGREGAÇÃO SEDE DO SETOR LESTE DA CIDADE";  // 41 characters

// Kind, day, stored history, amount.
struct Entrada { QString tipo; int dia; QString hist; double valor; };
// A congregation of church 12 and its figures of August 2021: entries,
// outflows, rent, water, light, stipend (Null allowed).
struct Igreja { int cod; QString nome; int calculo; QVariantList figuras; };
// An answer of the script: a text for an input box, or a button.
struct Resposta { QString texto; int botao = 0; };
Resposta T(const QString& t) { return {t, 0}; }
Resposta B(int b) { return {{}, b}; }
struct Custos { QList<Resposta> respostas; QJsonValue jornal, sistema; QStringList caixas; };
struct Ruim { std::function<void(const QString&)> estraga; long erro; QString texto; };
struct Mudanca { QString sql; bool mesmoMes; };
struct Recusa { std::function<QString(const QString& pasta)> escolhe; QString mensagem; };

const QList<Entrada> Mes = {{"O", 5, "CULTO", 3000}, {"D", 2, "ANA LIMA RI:00000451 DC", 2000}, {"S", 9, "LUZ CT:12", 3200}};
const QList<Igreja> Setor = {{30, "VILA NOVA", 3, {1000.10, 300.05, 100, 50.5, 25.25, QVariant()}},
                             {123, "MORRO ALTO", 1, {77.7, -5, 0, 0, 0, 0}},
                             {32, "SERRA", 2, {10, 2, 1, 0.5, 0.25, 0.25}}};
// Column A of the month sheet, from row 4: congregations with figures, the
// installation's own code, a formula giving a congregation's code, a code
// without figures, zero, a negative number, a text, a code typed as a
// text, a gap, then a code below the gap that the run never reaches.
const QList<QJsonValue> ColunaA = {30, 12, "=100+23", 31, 0, -5, "abc", "32", QJsonValue(), 30};

QJsonObject Cel(const QJsonValue& v, const char* t) { return {{"v", v}, {"t", t}}; }
QJsonObject Vazia() { return {{"v", QJsonValue()}}; }
}  // namespace

class tst_ExpTermo : public QObject {
    Q_OBJECT

    QTemporaryDir modelos_;
    QString modelo_;      // the statement workbook, saved by LibreOffice
    QJsonObject antes_;   // openpyxl's reading of it
    QStringList abertos_;  // what the shell was asked to open
    bool transpNoFim_ = true;

    void povoa(Ambiente& amb, const QList<Entrada>& entradas, const QList<double>& remessas) {
        int codigo = 0;
        for (const Entrada& e : entradas)
            amb.Sql("INSERT INTO LivroCaixa VALUES (?1, 12, 2021, 8, ?2, ?3, ?4, ?5)", {++codigo, e.dia, e.tipo, e.hist, e.valor});
        for (const Igreja& ig : Setor) {
            amb.Sql("INSERT INTO Igrejas VALUES (12, ?1, ?2, ?3)", {ig.cod, ig.nome, ig.calculo});
            amb.Sql("INSERT INTO TotIgrejas (CodIg, CodCongrega, Ano, Mes, Entradas, Saidas, Aluguel, Agua, Luz, Prebenda) "
                    "VALUES (12, ?1, 2021, 8, ?2, ?3, ?4, ?5, ?6, ?7)",
                    QVariantList{ig.cod} + ig.figuras);
        }
        amb.Sql("INSERT INTO Igrejas VALUES (12, 31, 'RIO CLARO', 1)");
        amb.Sql("INSERT INTO TotIgrejas (CodIg, CodCongrega, Ano, Mes, Entradas) VALUES (12, 31, 2021, 7, 55)");
        int dia = 5;
        for (double r : remessas) {
            amb.Sql("INSERT INTO Remessas (CodIg, Ano, Mes, Dia, Valor) VALUES (12, 2021, 8, ?1, ?2)", {dia, r});
            dia += 4;
        }
        amb.Sql("INSERT INTO Remessas (CodIg, Ano, Mes, Dia, Valor) VALUES (12, 2021, 7, 10, 41)");
    }

    // The form opened from the menu for church 12, August 2021, with the
    // lists starting on the test's folder; `termo` copies the statement
    // workbook there first.
    ExpTermo* abre(Ambiente& amb, const QList<double>& remessas = {100.10, 200.20}, const QString& tipo = "S",
                   const QList<Entrada>& entradas = Mes) {
        povoa(amb, entradas, remessas);
        amb.Parametros(12, "SETOR LESTE", NomeLongo, tipo, 8, 2021);
        Relogio::Define(QDateTime(QDate(2021, 9, 3), QTime(10, 0)));
        Pastas::DefinePessoal(amb.Pasta());
        return Abre_Pelo_Menu<ExpTermo>(&Principal::Exp_Termo);
    }

    // What the shell is asked to open goes into abertos_; `abre` says
    // whether it could be.
    void registraAberturas(bool abre) {
        Shell::DefineAcao([this, abre](const QString& a) {
            abertos_ << a;
            return abre;
        });
    }

    QString termo(Ambiente& amb, const QString& nome = "Termo 2021.xlsx") {
        const QString arquivo = amb.Pasta() + "/" + nome;
        QFile::copy(modelo_, arquivo);
        QFile(arquivo).setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
        return arquivo;
    }

    // "Exportar", then the file clicked in the file list.
    static void escolhe(ExpTermo* f, const QString& nome) {
        QTest::mouseClick(f->CmdExcel, Qt::LeftButton);
        QVERIFY(f->Fra_Igrejas->isVisible());
        f->File_Termo->Refresh();
        const auto itens = f->File_Termo->findItems(nome, Qt::MatchExactly);
        QVERIFY2(!itens.isEmpty(), qPrintable(nome));
        f->File_Termo->scrollToItem(itens[0]);
        QTest::mouseClick(f->File_Termo->viewport(), Qt::LeftButton, {}, f->File_Termo->visualItemRect(itens[0]).center());
    }

    // "Exportar Dados" with the script's answers.
    static void exporta(ExpTermo* f, const QList<Resposta>& respostas) {
        for (const Resposta& r : respostas) {
            if (r.botao) Roteiro::Responde(r.botao);
            else Roteiro::RespondeTexto(r.texto);
        }
        QTest::mouseClick(f->Cmd_Transp, Qt::LeftButton);
        QVERIFY(!Roteiro::HouveInesperada());
        QCOMPARE(Roteiro::Pendentes(), 0);
    }

    static QStringList prompts() {
        QStringList r;
        for (const Roteiro::Caixa& c : Roteiro::Caixas()) r << c.prompt;
        return r;
    }

    // The installation's posting: its congregation row and its month.
    static QStringList postado(Ambiente& amb) {
        return amb.Linhas("SELECT I.Nome, I.Calculo, T.Entradas, T.Saidas, T.Aluguel, T.Agua, T.Luz, T.Prebenda "
                          "FROM Igrejas I JOIN TotIgrejas T ON T.CodIg = I.CodIg AND T.CodCongrega = I.CodCongrega "
                          "WHERE I.CodIg = 12 AND I.CodCongrega = 12 AND T.Ano = 2021 AND T.Mes = 8");
    }

    // The cells a whole run writes, for the answers 1.234,56 and -3 and the
    // remittances given (each of day 5, 9, 13...).
    static QMap<QString, QJsonObject> escritas(const QList<double>& remessas) {
        QMap<QString, QJsonObject> e;
        e["FECHAMENTO!B11"] = QJsonObject{{"v", "AGOSTO"}, {"t", "s"}, {"negrito", true}, {"preenchimento", "FFFFFF00"}};
        const auto linha = [&](int r, const QList<QJsonValue>& valores) {
            const char* colunas[] = {"E", "F", "G", "H", "I", "M"};
            for (int k = 0; k < 6; ++k)
                e[QString("08!%1%2").arg(colunas[k]).arg(r)] =
                    valores.isEmpty() ? QJsonObject{{"v", QJsonValue()}, {"fmt", "#,##0.00"}} : QJsonObject{{"v", valores[k]}, {"t", "n"}, {"fmt", "#,##0.00"}};
            e[QString("08!T%1").arg(r)] = Vazia();
            e[QString("08!U%1").arg(r)] = Vazia();
        };
        linha(4, {1000.1, 25.25, 100, 50.5, 0, 300.05});  // a Null stipend is 0
        linha(5, {5000, 0, 0, 0, 0, 3200});                // the installation's own month
        linha(6, {77.7, 0, 0, 0, 0, -5});                  // a negative outflow stays negative
        linha(7, {});                                      // no figures: emptied
        linha(11, {10, 0.25, 1, 0.5, 0.25, 2});
        e["TC!E6"] = QJsonObject{{"v", "AGOSTO"}, {"t", "s"}, {"negrito", true}};
        for (int k = 0; k < 4; ++k) {
            const QString d = QString("TC!D%1").arg(45 + 2 * k), i = QString("TC!I%1").arg(45 + 2 * k);
            if (k < remessas.size()) {
                e[d] = QJsonObject{{"v", QString("2021-08-%1T00:00:00").arg(5 + 4 * k, 2, 10, QChar('0'))}, {"t", "d"}};
                e[i] = QJsonObject{{"v", remessas[k]}, {"t", "n"}, {"negrito", true}};
            } else {
                e[d] = Vazia();
                e[i] = Vazia();
            }
        }
        e["DADOS!C22"] = QJsonObject{{"v", "2021-09-03T00:00:00"}, {"t", "d"}, {"fmt", "dd/mm/yyyy"}};
        e["DADOS!E22"] = QJsonObject{{"v", 1234.56}, {"t", "n"}, {"fmt", "#,##0.00"}};
        e["DADOS!F22"] = QJsonObject{{"v", -3}, {"t", "n"}, {"fmt", "#,##0.00"}};
        e["TC!F73"] = Cel("Caso tenha dúvidas sobre a utilização do Quorvane acesse:", "s");
        e["TC!F74"] = Cel(TESOURARIA_PAGINA_AUTOR, "s");
        return e;
    }

private slots:
    void initTestCase() {
        QJsonObject colunas;
        for (int i = 0; i < ColunaA.size(); ++i) {
            const int r = 4 + i;
            colunas[QString("A%1").arg(r)] = ColunaA[i];
            if (ColunaA[i].isNull()) continue;
            const char* c[] = {"E", "F", "G", "H", "I", "M"};
            const double v[] = {900, 10, 20, 30, 40, 150};
            for (int k = 0; k < 6; ++k) colunas[QString("%1%2").arg(c[k]).arg(r)] = v[k];
            colunas[QString("T%1").arg(r)] = "conferido";
            colunas[QString("U%1").arg(r)] = "ok";
        }
        modelo_ = modelos_.filePath("modelo.xlsx");
        Planilha_Teste::Cria(modelo_, QJsonObject{{"celulas", QJsonObject{{"08", colunas}}}});
        antes_ = Planilha_Teste::Le(modelo_);
    }

    void init() {
        abertos_.clear();
        transpNoFim_ = true;
    }
    void cleanup() {
        Fecha_Tudo();
        Pastas::DefinePessoal({});
        Shell::DefineAcao({});
    }

    // Cash-book rows, then the congregations by name without the
    // installation's own code; their entries and outflows count in the
    // totals; a positive balance opens the frame with no question.
    void carrega() {
        Ambiente amb;
        amb.Sql("INSERT INTO Igrejas VALUES (12, 12, 'SEDE', 3)");
        amb.Sql("INSERT INTO TotIgrejas (CodIg, CodCongrega, Ano, Mes, Entradas, Saidas) VALUES (12, 12, 2021, 8, 9999, 1)");
        ExpTermo* f = abre(amb);
        QCOMPARE(f->Caption(), QString("Exportação para Termo de Constatação"));
        QCOMPARE(f->CboMesAno->Text(), QString("AGOSTO / 2021"));
        const QStringList linhas = Linhas(f->LstLivroCx);
        QStringList inicios;
        for (const QString& l : linhas) inicios << l.left(22).trimmed();
        QCOMPARE(inicios, (QStringList{"O 05 CULTO", "D 02 DC ANA LIMA RI:00", "S 09 LUZ CT:12", "I 01 MORRO ALTO(0123~1",
                                       "I 01 SERRA(0032~2)", "I 01 VILA NOVA(0030~3)"}));
        QCOMPARE(f->TxtEntradas->Text(), QString("6.087,80"));
        QCOMPARE(f->TxtSaidas->Text(), QString("3.497,05"));
        QCOMPARE(f->TxtSaldo->Text(), QString("2.590,75"));
        QCOMPARE(f->LblRegs->Caption(), QString("6 Registro(s)"));
        QVERIFY(f->Tem_Igreja());
        QVERIFY(f->CmdExcel->isEnabled());
        QVERIFY(!f->Fra_Igrejas->isVisible());
        QCOMPARE(f->Fra_Igrejas->Caption(), QString("Exportação de Dados para o Termo de Constatação  "));
        QCOMPARE(f->TxtArq->Text(), QString());
        QVERIFY(f->TxtArq->Locked());
        QVERIFY(!f->TxtCodigo->isVisible());
        QTest::mouseClick(f->CmdExcel, Qt::LeftButton);
        QVERIFY(f->Fra_Igrejas->isVisible());
        QVERIFY(Roteiro::Caixas().empty());
        QTest::mouseClick(f->Cmd_Fechar, Qt::LeftButton);
        QVERIFY(!f->Fra_Igrejas->isVisible());
    }

    void saldo_data() { Tabela<int>({{"zero", 0}, {"negativo, Não", vbNo}, {"negativo, Sim", vbYes}}); }
    // A balance of exactly 0 neither blinks nor asks; a negative one blinks
    // and asks first, No leaving the frame hidden.
    void saldo() {
        QFETCH(int, caso);
        Ambiente amb;
        const double saida = caso ? 9000 : 6087.80 - 3497.05 + 3200;
        ExpTermo* f = abre(amb, {}, "S", {{"O", 5, "CULTO", 3000}, {"D", 2, "ANA LIMA RI:00000451 DC", 2000}, {"S", 9, "LUZ CT:12", saida}});
        QCOMPARE(f->TxtSaldo->Text(), QString(caso ? "-3.209,25" : "0,00"));
        QCOMPARE(f->TxtSaldo->ForeColor(), Amarelo);
        f->Timer_Timer();
        QCOMPARE(f->TxtSaldo->ForeColor(), caso ? Preto : Amarelo);
        if (caso) Roteiro::Responde(caso);
        QTest::mouseClick(f->CmdExcel, Qt::LeftButton);
        if (caso) CONFERE_CAIXA("Saldo Irregular. Deseja Proseguir ?", vbYesNo + vbQuestion + vbDefaultButton2);
        QVERIFY(Roteiro::Caixas().empty());
        QCOMPARE(f->Fra_Igrejas->isVisible(), caso != vbNo);
    }

    // A single congregation: the menu item is off; the form, were it open,
    // shows no sector rows and no export.
    void congregacao() {
        Ambiente amb;
        povoa(amb, Mes, {});
        amb.Parametros(12, "SETOR", "SEDE", "C", 8, 2021);
        QVERIFY(!Inicia_Principal("MARIA")->Exp_Termo->isEnabled());
        auto* f = Form::Instancia<ExpTermo>();
        f->Show();
        QCOMPARE(f->LstLivroCx->ListCount(), 3);
        QVERIFY(!f->Tem_Igreja());
        QVERIFY(!f->CmdExcel->isEnabled());
        QCOMPARE(f->TxtEntradas->Text(), QString("5.000,00"));
    }

    // Cash-book rows without any congregation figures: the frame opens but
    // the statement is refused.
    void semIgrejas() {
        Ambiente amb;
        Pastas::DefinePessoal(amb.Pasta());
        int codigo = 0;
        for (const Entrada& e : Mes)
            amb.Sql("INSERT INTO LivroCaixa VALUES (?1, 12, 2021, 8, ?2, ?3, ?4, ?5)", {++codigo, e.dia, e.tipo, e.hist, e.valor});
        amb.Parametros(12, "SETOR", "SEDE", "S", 8, 2021);
        auto* f = Abre_Pelo_Menu<ExpTermo>(&Principal::Exp_Termo);
        termo(amb);
        escolhe(f, "Termo 2021.xlsx");
        Roteiro::Responde(vbOK);
        QTest::mouseClick(f->Cmd_Transp, Qt::LeftButton);
        CONFERE_CAIXA("Examine se foram lançados valores para 'Igrejas que compõe o Setor'", vbInformation);
        QCOMPARE(amb.Conta("SELECT COUNT(*) FROM Igrejas"), 0);
    }

    // The drive, folder and file lists keep TxtArq in step: a folder after
    // a change of drive or folder, the file once one is clicked.
    void escolha() {
        Ambiente amb;
        QVERIFY(QDir(amb.Pasta()).mkdir("Termos"));
        ExpTermo* f = abre(amb);
        termo(amb, "Termos/Setor.xlsx");
        termo(amb);
        QFile(amb.Pasta() + "/notas.txt").open(QIODevice::WriteOnly);
        QTest::mouseClick(f->CmdExcel, Qt::LeftButton);
        QCOMPARE(f->Drv_Termo->Drive(), amb.Pasta());
        QCOMPARE(f->Dir_Termo->Path(), amb.Pasta());
        f->File_Termo->Refresh();
        QCOMPARE(Linhas(f->File_Termo), QStringList{"Termo 2021.xlsx"});

        f->Drv_Termo->setDrive("/");
        QCOMPARE(f->Dir_Termo->Path(), QString("/"));
        QCOMPARE(f->TxtArq->Text(), QString("/"));
        f->Drv_Termo->setDrive(amb.Pasta());
        QCOMPARE(f->TxtArq->Text(), amb.Pasta());
        const auto pasta = f->Dir_Termo->findItems("Termos", Qt::MatchEndsWith);
        QCOMPARE(pasta.size(), 1);
        QTest::mouseDClick(f->Dir_Termo->viewport(), Qt::LeftButton, {}, f->Dir_Termo->visualItemRect(pasta[0]).center());
        QCOMPARE(f->TxtArq->Text(), amb.Pasta() + "/Termos");
        QCOMPARE(Linhas(f->File_Termo), QStringList{"Setor.xlsx"});
        escolhe(f, "Setor.xlsx");
        QCOMPARE(f->TxtArq->Text(), amb.Pasta() + "/Termos/Setor.xlsx");
        QVERIFY(Roteiro::Caixas().empty());
    }

    // A drive whose folder is gone: the error's box, and No leaves the
    // folder and file lists and TxtArq where they were.
    void unidadeSumida() {
        Ambiente amb;
        povoa(amb, Mes, {});
        amb.Parametros(12, "SETOR", "SEDE", "S", 8, 2021);
        const QString casa = amb.Pasta() + "/casa";
        QVERIFY(QDir().mkpath(casa));
        Pastas::DefinePessoal(casa);
        auto* f = Abre_Pelo_Menu<ExpTermo>(&Principal::Exp_Termo);
        QTest::mouseClick(f->CmdExcel, Qt::LeftButton);
        f->Drv_Termo->setDrive("/");
        QVERIFY(QDir(amb.Pasta()).rename("casa", "outra"));
        Roteiro::Responde(vbNo);
        f->Drv_Termo->setDrive(casa);
        QCOMPARE(Roteiro::Caixas().back().titulo, QString("<<< Ocorrência de Erro 76 >>>"));
        QVERIFY(Roteiro::Caixas().back().prompt.startsWith("Caminho não encontrado."));
        QCOMPARE(f->Drv_Termo->Drive(), casa);
        QCOMPARE(f->Dir_Termo->Path(), QString("/"));
        QCOMPARE(f->TxtArq->Text(), QString("/"));
    }

    void recusado_data() {
        Tabela<Recusa>({
            {"nada escolhido", {[](const QString&) { return QString(); }, NaoEncontrado}},
            {"uma pasta", {[](const QString& p) { QDir(p).mkdir("Termos"); return QString("Termos/"); }, NaoEncontrado}},
            {"arquivo que sumiu", {[](const QString& p) {
                                        QFile(p + "/Sumiu.xlsx").open(QIODevice::WriteOnly);
                                        return QString("-Sumiu.xlsx");
                                    }, NaoEncontrado}},
            {"formato antigo", {[](const QString& p) {
                                     QFile x(p + "/Termo.xls");
                                     x.open(QIODevice::WriteOnly);
                                     x.write(QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) + QByteArray(504, '\0'));
                                     return QString("Termo.xls");
                                 }, Antigo}},
        });
    }
    // Refused before any question: nothing posted, nothing opened.
    void recusado() {
        QFETCH(Recusa, caso);
        Ambiente amb;
        QString escolha = caso.escolhe(amb.Pasta());
        ExpTermo* f = abre(amb);
        QTest::mouseClick(f->CmdExcel, Qt::LeftButton);
        if (escolha.endsWith('/')) {
            const auto pasta = f->Dir_Termo->findItems(escolha.chopped(1), Qt::MatchEndsWith);
            QCOMPARE(pasta.size(), 1);
            QTest::mouseDClick(f->Dir_Termo->viewport(), Qt::LeftButton, {}, f->Dir_Termo->visualItemRect(pasta[0]).center());
            QCOMPARE(f->TxtArq->Text(), amb.Pasta() + "/Termos");
        } else if (!escolha.isEmpty()) {
            const bool some = escolha.startsWith('-');
            if (some) escolha.remove(0, 1);
            escolhe(f, escolha);
            if (some) QFile::remove(amb.Pasta() + "/" + escolha);
        }
        registraAberturas(true);
        exporta(f, {B(vbOK)});
        CONFERE_CAIXA(caso.mensagem, vbInformation);
        QCOMPARE(amb.Conta("SELECT COUNT(*) FROM Igrejas WHERE CodCongrega = 12"), 0);
        QCOMPARE(amb.Conta("SELECT COUNT(*) FROM TotIgrejas WHERE CodCongrega = 12"), 0);
        QVERIFY(abertos_.isEmpty());
        QVERIFY(f->Cmd_Transp->isEnabled());
    }

    void exportacao_data() {
        Tabela<QList<double>>({{"sem remessas", {}},
                               {"duas remessas", {100.10, 200.20}},
                               {"quatro remessas", {100.10, 200.20, 0.30, 1234.56}},
                               {"seis remessas", {100.10, 200.20, 0.30, 1234.56, 7, 8}}});
    }
    // The whole run: the costs asked, the installation posted under its own
    // code with its name cut to 30 characters, every mapped cell written
    // with its value and type, nothing else touched, the workbook asked
    // to recalculate and opened; LibreOffice's recalculation gives the
    // statement's totals to the cent. The run cannot be started twice.
    void exportacao() {
        QFETCH(QList<double>, caso);
        Ambiente amb;
        ExpTermo* f = abre(amb, caso);
        const QString arquivo = termo(amb);
        escolhe(f, "Termo 2021.xlsx");
        QCOMPARE(f->TxtArq->Text(), arquivo);
        bool fechou = true;
        Shell::DefineAcao([&](const QString& a) {
            abertos_ << a;
            transpNoFim_ = f->Cmd_Transp->isEnabled();
            QTest::mouseClick(f->Cmd_Transp, Qt::LeftButton);  // refused: no box, no second run
            fechou = f->Unload();                               // refused until the run ends
            return true;
        });
        QList<Resposta> respostas{T("1.234,56"), T("-3")};
        if (caso.size() > 4) respostas << B(vbOK);
        respostas << B(vbOK);
        exporta(f, respostas);
        QStringList esperadas{PerguntaJornal, PerguntaSistema};
        if (caso.size() > 4) esperadas << MaisDeQuatro;
        esperadas << Concluida;
        QCOMPARE(prompts(), esperadas);
        QCOMPARE(Roteiro::Caixas()[0].titulo, QString("Custo do Jornal Tessarim"));
        QVERIFY(Roteiro::Caixas()[0].entrada);
        QCOMPARE(Roteiro::Caixas()[1].titulo, QString("Custo do Sistema Mirava"));
        if (caso.size() > 4) {
            QCOMPARE(Roteiro::Caixas()[2].estilo, vbExclamation);
            QCOMPARE(Roteiro::Caixas()[2].titulo, QString("Atenção MARIA"));
        }
        QCOMPARE(Roteiro::Caixas().back().titulo, QString("Atenção"));
        QCOMPARE(Roteiro::Caixas().back().estilo, vbInformation);
        QCOMPARE(abertos_, QStringList{arquivo});
        QVERIFY(!transpNoFim_);
        QVERIFY(!fechou);
        QVERIFY(f->Cmd_Transp->isEnabled());
        QCOMPARE(Screen::MousePointerAtual(), 0);
        QCOMPARE(postado(amb), QStringList{NomeLongo.left(30) + "|3|5000|3200|0|0|0|0"});

        const QJsonObject depois = Planilha_Teste::Le(arquivo);
        QStringList semValor;
        const QStringList diferencas = Planilha_Teste::Diferencas(antes_, depois, escritas(caso), &semValor);
        QVERIFY2(diferencas.isEmpty(), qPrintable(diferencas.join('\n')));
        // The totals over the cells written lose their old values; the
        // other months' keep theirs.
        for (const char* celula : {"08!E2", "08!M2", "08!N2", "08!N4", "TC!I53", "TC!H60", "FECHAMENTO!B13", "DADOS!G22", "DADOS!G27"})
            QVERIFY2(semValor.contains(celula), celula);
        for (const QString& celula : semValor) QVERIFY2(!celula.startsWith("07!") && !celula.startsWith("09!"), qPrintable(celula));
        QCOMPARE(depois["mescladas"], antes_["mescladas"]);
        QCOMPARE(depois["nomes"], antes_["nomes"]);
        QVERIFY(depois["calcPr"].toString().contains("fullCalcOnLoad=\"1\""));
        QCOMPARE(depois["selecionadas"].toObject(), (QJsonObject{{"TC", "F75"}}));

        const QJsonObject r = Planilha_Teste::Le(Planilha_Teste::Recalculado(arquivo));
        // LibreOffice at its defaults, which recalculates nothing on
        // opening, shows every formula as a recalculation does.
        const QStringList diferentes = Planilha_Teste::Valores_Diferentes(Planilha_Teste::Le(Planilha_Teste::Aberto(arquivo)), r);
        QVERIFY2(diferentes.isEmpty(), qPrintable(diferentes.join(' ')));
        const auto valor = [&](const char* folha, const char* celula) {
            return qRound64(r["celulas"][folha][celula]["c"].toDouble() * 100);
        };
        qint64 remessas = 0;
        for (int k = 0; k < std::min<int>(4, caso.size()); ++k) remessas += qRound64(caso[k] * 100);
        QCOMPARE(valor("TC", "I53"), remessas);
        QCOMPARE(valor("FECHAMENTO", "B13"), remessas);
        QCOMPARE(valor("08", "E2"), 100010 + 500000 + 7770 + 3 * 90000 + 1000 + 90000);
        QCOMPARE(valor("08", "M2"), 30005 + 320000 - 500 + 3 * 15000 + 200 + 15000);
        QCOMPARE(valor("08", "N4"), 100010 - 30005);
        QCOMPARE(valor("DADOS", "G22"), 123456 - 300);
    }

    // Where nothing here can open the workbook, it is saved all the same
    // and the final message says where, and that it could not be opened.
    void naoAbre() {
        Ambiente amb;
        ExpTermo* f = abre(amb);
        const QString arquivo = termo(amb);
        escolhe(f, "Termo 2021.xlsx");
        registraAberturas(false);
        exporta(f, {T("0,00"), T("0,00"), B(vbOK)});
        QCOMPARE(abertos_, QStringList{arquivo});
        const Roteiro::Caixa fim = Roteiro::Caixas().back();
        QCOMPARE(fim.prompt, Concluida + "\rPlanilha gravada em " + arquivo +
                                 "\rNão foi possível abri-la neste computador: abra-a em sua planilha eletrônica.");
        QCOMPARE(fim.estilo, vbOKOnly + vbExclamation);
        QCOMPARE(fim.titulo, QString("Atenção"));
        const QJsonObject depois = Planilha_Teste::Le(arquivo);
        QCOMPARE(depois["celulas"]["FECHAMENTO"]["B11"]["v"].toString(), QString("AGOSTO"));
    }

    void custos_data() {
        Tabela<Custos>({
            {"zeros", {{T("0,00"), T("0,00")}, 0, 0, {}}},
            {"jornal em branco", {{T(""), T("1,5")}, QJsonValue(), 1.5, {}}},
            {"jornal com letras, Sim", {{T("abc"), B(vbYes), T("12,30"), T("0")}, 12.3, 0, {"13"}}},
            {"sistema com ponto decimal, Sim", {{T("5"), T("1234.56"), B(vbYes), T("1234,56")}, 5, 1234.56, {"13"}}},
        });
    }
    // Each answer read as a Brazilian amount and written as a number; an
    // empty newspaper cost leaves its cell empty; a text that is no amount
    // is a type error, and Yes asks the same question again.
    void custos() {
        QFETCH(Custos, caso);
        Ambiente amb;
        ExpTermo* f = abre(amb);
        const QString arquivo = termo(amb);
        escolhe(f, "Termo 2021.xlsx");
        exporta(f, caso.respostas + QList<Resposta>{B(vbOK)});
        QStringList erros;
        for (const Roteiro::Caixa& c : Roteiro::Caixas())
            if (c.titulo.startsWith("<<< Ocorrência de Erro ")) {
                erros << c.titulo.mid(23).section(' ', 0, 0);
                QVERIFY(c.prompt.startsWith("Tipo Incompatível."));
            }
        QCOMPARE(erros, caso.caixas);
        QCOMPARE(Roteiro::Caixas().back().prompt, Concluida);
        const QJsonObject lida = Planilha_Teste::Le(arquivo);
        const QJsonObject dados = lida["celulas"]["DADOS"].toObject();
        QCOMPARE(dados["E22"]["v"], caso.jornal);
        QCOMPARE(dados["F22"]["v"], caso.sistema);
        if (!caso.jornal.isNull()) QCOMPARE(dados["E22"]["t"].toString(), QString("n"));
        QCOMPARE(dados["F22"]["t"].toString(), QString("n"));
    }

    void desistencia_data() {
        Tabela<QList<Resposta>>({{"jornal com letras, Não", {T("abc"), B(vbNo)}},
                                 {"sistema em branco ou cancelado, Não", {T("0,00"), T(""), B(vbNo)}}});
    }
    // Giving up on an answer ends the run before anything is posted.
    void desistencia() {
        QFETCH(QList<Resposta>, caso);
        Ambiente amb;
        ExpTermo* f = abre(amb);
        const QString arquivo = termo(amb);
        const QByteArray bytes = Bytes(arquivo);
        escolhe(f, "Termo 2021.xlsx");
        exporta(f, caso);
        QCOMPARE(Roteiro::Caixas().back().titulo, QString("<<< Ocorrência de Erro 13 >>>"));
        QVERIFY(postado(amb).isEmpty());
        QCOMPARE(Bytes(arquivo), bytes);
    }

    void planilhaRuim_data() {
        const auto semFolha = [](const char* folha) {
            return [folha](const QString& a) { Planilha_Teste::Cria(a, QJsonObject{{"sem", QJsonArray{folha}}}, false); };
        };
        Tabela<Ruim>({
            {"texto com nome de planilha", {[](const QString& a) {
                                                 QFile f(a);
                                                 f.open(QIODevice::WriteOnly);
                                                 f.write("Código;Entradas\n30;100\n");
                                             }, 1004, "O arquivo Termo 2021.xlsx não é uma planilha do Excel (.xlsx)."}},
            {"zip que não é planilha", {[](const QString& a) {
                                             QFile::remove(a);
                                             QProcess p;
                                             p.start("/usr/bin/python3", {"-c", "import sys, zipfile\nwith zipfile.ZipFile(sys.argv[1], 'w') as z: z.writestr('x.txt', 'x')", a});
                                             p.waitForFinished();
                                         }, 1004, "O arquivo Termo 2021.xlsx não é uma planilha do Excel (.xlsx)."}},
            {"sem a folha do mês", {semFolha("08"), 1004, "A planilha não tem a folha \"08\"."}},
            {"sem a folha TC", {semFolha("TC"), 1004, "A planilha não tem a folha \"TC\"."}},
            {"somente leitura", {[](const QString& a) { QFile(a).setPermissions(QFile::ReadOwner | QFile::ReadGroup); }, 70,
                                 "Permissão negada."}},
        });
    }
    // The posting, done first, stays; the workbook is left byte for byte
    // as it was, with the error's message; No ends the run.
    void planilhaRuim() {
        QFETCH(Ruim, caso);
        Ambiente amb;
        ExpTermo* f = abre(amb);
        const QString arquivo = termo(amb);
        caso.estraga(arquivo);
        const QByteArray bytes = Bytes(arquivo);
        escolhe(f, "Termo 2021.xlsx");
        registraAberturas(true);
        exporta(f, {T("0,00"), T("0,00"), B(vbNo)});
        const Roteiro::Caixa erro = Roteiro::Caixas().back();
        QCOMPARE(erro.titulo, QString("<<< Ocorrência de Erro %1 >>>").arg(caso.erro));
        QCOMPARE(erro.estilo, vbYesNo + vbCritical);
        QVERIFY2(erro.prompt.startsWith(caso.texto), qPrintable(erro.prompt));
        QCOMPARE(Bytes(arquivo), bytes);
        QCOMPARE(postado(amb).size(), 1);
        QVERIFY(abertos_.isEmpty());
    }

    void mudou_data() {
        Tabela<Mudanca>({
            {"um lançamento", {"INSERT INTO LivroCaixa VALUES (99, 12, 2021, 8, 20, 'O', 'CULTO', 1)", true}},
            {"figuras de uma igreja", {"UPDATE TotIgrejas SET Saidas = 301 WHERE CodCongrega = 30", true}},
            {"uma remessa", {"INSERT INTO Remessas (CodIg, Ano, Mes, Dia, Valor) VALUES (12, 2021, 8, 30, 5)", true}},
            {"valor de uma remessa", {"UPDATE Remessas SET Valor = 100.11 WHERE Valor = 100.10", true}},
            {"mês de trabalho", {"UPDATE Parametros SET Mes = 9", false}},
        });
    }
    // What changed since the form loaded is never posted: checked as the
    // posting starts, the run refuses, reloads and touches neither the
    // data nor the workbook.
    void mudou() {
        QFETCH(Mudanca, caso);
        Ambiente amb;
        ExpTermo* f = abre(amb);
        const QString arquivo = termo(amb);
        const QByteArray bytes = Bytes(arquivo);
        escolhe(f, "Termo 2021.xlsx");
        amb.Sql(caso.sql);
        Recarrega_Parametros();
        exporta(f, {T("0,00"), T("0,00"), B(vbOK)});
        QCOMPARE(prompts(), (QStringList{PerguntaJornal, PerguntaSistema, Recarregado}));
        CONFERE_CAIXA(Recarregado, vbExclamation);
        QVERIFY(postado(amb).isEmpty());
        QCOMPARE(Bytes(arquivo), bytes);
        QVERIFY(f->Fra_Igrejas->isVisible());
        QCOMPARE(f->TxtArq->Text(), arquivo);
        // Loaded again, the month as it is now goes through.
        if (!caso.mesmoMes) return;
        exporta(f, {T("0,00"), T("0,00"), B(vbOK)});
        QCOMPARE(Roteiro::Caixas().back().prompt, Concluida);
    }

    // Codes that formulas give with the noise of their arithmetic, a hair
    // above and a hair below the whole number, name their congregations:
    // their lines get the figures.
    void codigoComRuido() {
        const QString modelo = modelos_.filePath("ruido.xlsx");
        Planilha_Teste::Cria(modelo, QJsonObject{{"celulas", QJsonObject{{"08", QJsonObject{{"A4", "=0.1*3*100"}, {"A5", "=0.1*3*40"}}}}}});
        const QString folha = "xl/worksheets/sheet9.xml";
        Planilha_Teste::Troca(modelo, folha, "0.1*3*100</f><v>30</v>", "0.1*3*100</f><v>30.000000000000004</v>");
        Planilha_Teste::Troca(modelo, folha, "0.1*3*40</f><v>12</v>", "0.1*3*40</f><v>11.999999999999998</v>");
        Ambiente amb;
        ExpTermo* f = abre(amb);
        const QString arquivo = amb.Pasta() + "/Termo 2021.xlsx";
        QVERIFY(QFile::copy(modelo, arquivo));
        escolhe(f, "Termo 2021.xlsx");
        exporta(f, {T("0,00"), T("0,00"), B(vbOK)});
        QCOMPARE(Roteiro::Caixas().back().prompt, Concluida);
        const QJsonObject lida = Planilha_Teste::Le(arquivo);
        const QJsonObject oito = lida["celulas"]["08"].toObject();
        QCOMPARE(oito["E4"]["v"].toDouble(), 1000.1);
        QCOMPARE(oito["M4"]["v"].toDouble(), 300.05);
        QCOMPARE(oito["E5"]["v"].toDouble(), 5000.0);
        QCOMPARE(oito["M5"]["v"].toDouble(), 3200.0);
    }

    // A workbook written sheets first and its own parts last, as openpyxl
    // and other generators write one, with a ledger of 4,000 rows as its
    // first sheet: the run saves it and ends with its message.
    void razaoNoInicio() {
        Ambiente amb;
        ExpTermo* f = abre(amb);
        const QString arquivo = amb.Pasta() + "/Termo 2021.xlsx";
        Planilha_Teste::Cria(arquivo, QJsonObject{{"razao", 4000}}, false);
        const QJsonObject antes = Planilha_Teste::Le(arquivo);
        QCOMPARE(antes["folhas"].toArray().first().toString(), QString("RAZÃO"));
        escolhe(f, "Termo 2021.xlsx");
        registraAberturas(true);
        exporta(f, {T("0,00"), T("0,00"), B(vbOK)});
        QCOMPARE(Roteiro::Caixas().back().prompt, Concluida);
        QCOMPARE(abertos_, QStringList{arquivo});
        const QJsonObject depois = Planilha_Teste::Le(arquivo);
        QCOMPARE(depois["celulas"]["08"]["E4"]["v"].toDouble(), 1000.1);
        QCOMPARE(depois["celulas"]["FECHAMENTO"]["B11"]["v"].toString(), QString("AGOSTO"));
        QCOMPARE(depois["celulas"]["RAZÃO"], antes["celulas"]["RAZÃO"]);
    }

    // The posting never counts twice: after a run, the closing and this
    // form show the same rows and totals as before; a second run updates
    // the same row with the month as it then stands.
    void postagemUnica() {
        Ambiente amb;
        ExpTermo* f = abre(amb);
        const QString arquivo = termo(amb);
        const QStringList linhas = Linhas(f->LstLivroCx);
        Principal::Atual()->Fec_Livro->trigger();
        auto* fechamento = qobject_cast<ImpLivroCx*>(Form::Procura("ImpLivroCx"));
        QVERIFY(fechamento);
        const QStringList linhasFechamento = Linhas(fechamento->LstLivroCx);
        const QString saldoFechamento = fechamento->TxtSaldo->Text();
        fechamento->Unload();
        escolhe(f, "Termo 2021.xlsx");
        exporta(f, {T("0,00"), T("0,00"), B(vbOK)});
        f->Unload();

        Principal::Atual()->Fec_Livro->trigger();
        fechamento = qobject_cast<ImpLivroCx*>(Form::Procura("ImpLivroCx"));
        QCOMPARE(Linhas(fechamento->LstLivroCx), linhasFechamento);
        QCOMPARE(fechamento->TxtSaldo->Text(), saldoFechamento);
        fechamento->Unload();

        amb.Sql("INSERT INTO LivroCaixa VALUES (99, 12, 2021, 8, 20, 'S', 'AGUA CT:1', 0.5)");
        Principal::Atual()->Exp_Termo->trigger();
        f = qobject_cast<ExpTermo*>(Form::Procura("ExpTermo"));
        QCOMPARE(Linhas(f->LstLivroCx).size(), linhas.size() + 1);
        escolhe(f, "Termo 2021.xlsx");
        exporta(f, {T("0,00"), T("0,00"), B(vbOK)});
        QCOMPARE(postado(amb), QStringList{NomeLongo.left(30) + "|3|5000|3200.5|0|0|0|0"});
        QCOMPARE(amb.Conta("SELECT COUNT(*) FROM TotIgrejas WHERE CodCongrega = 12"), 1);
        QCOMPARE(amb.Conta("SELECT COUNT(*) FROM Igrejas WHERE CodCongrega = 12"), 1);
        const QJsonObject lida = Planilha_Teste::Le(arquivo);
        const QJsonObject oito = lida["celulas"]["08"].toObject();
        QCOMPARE(oito["M5"]["v"].toDouble(), 3200.5);
    }
};

REGISTRA_TESTE(tst_ExpTermo)
#include "tst_ExpTermo.moc"
