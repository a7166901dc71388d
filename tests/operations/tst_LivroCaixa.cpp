// The cash book driven from the main window's menu as a treasurer uses it:
// rows and their order, totals to the cent, each kind saved with its
// history rules, the refusals, correction, deletion, the day's summary and
// closing; and what the encrypted file holds afterwards.
#include "common/Parametros.h"
#include "operations/LivroCaixa.h"
#include "support/Ambiente.h"
#include "support/Interacao.h"
#include "support/Registro.h"
#include <QApplication>
#include <QClipboard>
#include <QTimer>
#include <QtTest>

namespace {
constexpr qint64 Grande = qint64(1) << 40;  // a code beyond 32 bits
const QString Nenhum = "<nenhum>";

void troca(QWidget* w, const QString& texto) {  // select all, delete, type
    w->setFocus(Qt::OtherFocusReason);
    QTest::keyClick(w, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(w, Qt::Key_Delete);
    Digita(w, texto);
}

QString linha(const QString& tipo, int dia, const QString& h, const QString& valor) {
    return tipo.leftJustified(2) + QString("%1 ").arg(dia, 2, 10, QChar('0')) + h.leftJustified(50, ' ', true) +
           (tipo == "S" ? "      ---- " + valor.rightJustified(10) : valor.rightJustified(10) + "       ----");
}
}  // namespace

class tst_LivroCaixa : public QObject {
    Q_OBJECT

    LivroCaixa* abre(Ambiente& amb, const QList<QVariantList>& lancamentos = {}) {
        for (const QVariantList& v : lancamentos) amb.Sql("INSERT INTO LivroCaixa VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8)", v);
        amb.Parametros(12, "SETOR", "IGREJA", "S", 8, 2021);
        amb.Sql("INSERT INTO Cargos VALUES (6, 'DIÁCONO', 'DC')");
        amb.Sql("INSERT INTO Dizimos VALUES (1, 12, '00000451', 'ANA LIMA', 6)");
        amb.Sql("INSERT INTO Ofertas VALUES (1, 12, 'DOMINGO - ESCOLA'), (2, 12, 'domingo - culto'), "
                "(3, 12, 'CULTO DE DOMINGO'), (4, 13, 'DOMINGO DE OUTRA IGREJA')");
        amb.Sql("INSERT INTO Saidas VALUES (123, 12, 'CONTA DE LUZ'), "
                "(4567, 12, 'MANUTENÇÃO PREDIAL E REFORMA DO TEMPLO CENTRAL DA IGREJA')");
        amb.Sql("INSERT INTO Transmissao VALUES (8, 2021, '2021-09-01', 'ANA'), (7, 2021, '2021-08-01', 'ANA')");
        Inicia_Principal("MARIA")->Liv_Cx->trigger();
        Roteiro::LimpaCaixas();
        auto* f = qobject_cast<LivroCaixa*>(Form::Procura("LivroCaixa"));
        if (!f) qFatal("o menu não abriu o Livro Caixa");
        return f;
    }

    // One entry of kind "O", "D" or "S" typed as a user does; an offering's
    // history before its day, so the weekday preset leaves it alone. "#n"
    // chooses the n-th history.
    static void lanca(LivroCaixa* f, const QString& tipo, const QString& dia, const QString& hist, const QString& valor) {
        QTest::mouseClick(tipo == "D" ? f->OptDizimos : tipo == "S" ? f->OptSaidas : f->OptOfertas, Qt::LeftButton);
        if (hist.startsWith('#')) f->CboHistorico->setListIndex(hist.mid(1).toInt());
        else troca(f->CboHistorico, hist);
        troca(f->TxtDia, dia);
        troca(f->TxtValor, valor);
        QTest::mouseClick(f->CmdEnvia, Qt::LeftButton);
    }
    static void envia(LivroCaixa* f, int resposta) {
        Roteiro::Responde(resposta);
        QTest::mouseClick(f->CmdEnvia, Qt::LeftButton);
    }
    static QString guardado(Ambiente& amb, qint64 codigo, const QString& campo = "Historico") {
        auto rs = amb.Le(QString("SELECT %1 FROM LivroCaixa WHERE Codigo = ?1").arg(campo), {codigo});
        return rs->Eof() ? Nenhum : rs->Texto(campo);
    }
    static QString totais(LivroCaixa* f) {
        return f->TxtEntradas->Text() + "|" + f->TxtSaidas->Text() + "|" + f->TxtSaldo->Text() + "|" + f->LblRegs->Caption();
    }

private slots:
    void cleanup() { Fecha_Tudo(); }

    void lista_ordem_totais_e_resumo() {
        Ambiente amb;
        LivroCaixa* f = abre(amb, {{Grande, 12, 2021, 8, 3, "O", "Ábaco", 0.1}, {2, 12, 2021, 8, 3, "O", "abóbora", 0.2},
                                   {3, 12, 2021, 8, 3, "O", "ABACATE", 2000.0},
                                   {4, 12, 2021, 8, 5, "D", "MARIA SILVA RI:00012345 MB", 100.0},
                                   {5, 12, 2021, 8, 10, "S", "CONTA DE LUZ CT:123", 2234.5},
                                   {6, 12, 2021, 7, 10, "O", "OUTRO MÊS", 1.0}, {7, 13, 2021, 8, 10, "O", "OUTRA IGREJA", 1.0}});
        QCOMPARE(f->Caption() + "|" + f->CboMesAno->Text(), QString(" Lançamento de Livro Caixa|AGOSTO / 2021"));
        QVERIFY(f->OptOfertas->Value());
        QCOMPARE(f->CboHistorico->ListCount(), 3);  // this church's offerings only
        // Kind, day, then the history in Portuguese order, case and accents aside.
        QCOMPARE(Linhas(f->LstLivroCx), (QStringList{linha("D", 5, "MB MARIA SILVA RI:00012345", "100,00"),
                                                     linha("O", 3, "ABACATE", "2.000,00"), linha("O", 3, "Ábaco", "0,10"),
                                                     linha("O", 3, "abóbora", "0,20"),
                                                     linha("S", 10, "CONTA DE LUZ CT:123", "2.234,50")}));
        QCOMPARE(f->LstLivroCx->ItemData(2), Grande);
        QCOMPARE(totais(f), QString("2.100,30|2.234,50|-134,20|5 Registro(s)"));

        // The negative balance and the kind chosen blink every 300 ms.
        QVERIFY(f->Timer->Enabled());
        QCOMPARE(f->Timer->Interval(), 300);
        f->Timer->setEnabled(false);  // ticked by hand below
        f->Timer_Timer();
        QCOMPARE(f->TxtSaldo->ForeColor(), QColor(Qt::black));
        QCOMPARE(f->OptOfertas->ForeColor(), QColor(Qt::black));
        f->Timer_Timer();
        QCOMPARE(f->TxtSaldo->ForeColor(), QColor(Qt::yellow));

        QTest::mouseClick(f->CmdOk, Qt::LeftButton);
        QCOMPARE(f->FraResumo_Left(), LivroCaixa::ResumoVisivel);
        QCOMPARE(f->CmdOk->Caption(), QString("Fechar"));
        QCOMPARE(Linhas(f->LstResumo),
                 (QStringList{"03         0,00    2.000,30    2.000,30", "05       100,00        0,00      100,00"}));
        QTest::mouseClick(f->CmdOk, Qt::LeftButton);
        QCOMPARE(f->FraResumo_Left(), LivroCaixa::ResumoOculto);
        QCOMPARE(f->CmdOk->Caption(), QString("Resumo"));
    }

    void grava_cada_tipo_data() {
        const QString nome = QString("ABCDEFGHIJ").repeated(6);  // typing stops at 49 characters
        const QString tem = "MANUTENÇÃO PREDIAL E REFORMA DO TEMPLO CEN CT:4567";
        for (const char* c : {"tipo", "dia", "hist", "valor", "guardado", "mostrado", "celula", "armazenado"})
            QTest::addColumn<QString>(c);
        QTest::newRow("oferta com barra") << "O" << "3" << "oferta \\ missões" << "50" << "OFERTA \\ MISSÕES"
                                          << "OFERTA \\ MISSÕES" << "50,00" << "50";
        QTest::newRow("valor zero") << "O" << "3" << "ZERO" << "0" << "ZERO" << "ZERO" << "0,00" << "0";
        QTest::newRow("estorno") << "O" << "4" << "ESTORNO" << "-50" << "ESTORNO" << "ESTORNO" << "-50,00" << "-50";
        QTest::newRow("ponto digitado é vírgula")
            << "O" << "4" << "TECLADO" << "1234.56" << "TECLADO" << "TECLADO" << "1.234,56" << "1234,56";
        QTest::newRow("dízimo sem RI") << "D" << "5" << "jose" << "10" << "JOSE RI:00000000 CG" << "CG JOSE RI:00000000"
                                       << "10,00" << "10";
        QTest::newRow("dízimo da lista") << "D" << "5" << "#0" << "10" << "ANA LIMA RI:00000451 DC"
                                         << "DC ANA LIMA RI:00000451" << "10,00" << "10";
        QTest::newRow("cargo uma vez") << "D" << "6" << "ANA PRADO PR RI:00000001 PR" << "10" << "ANA PRADO RI:00000001 PR"
                                       << "PR ANA PRADO RI:00000001" << "10,00" << "10";
        QTest::newRow("nome longo") << "D" << "7" << nome << "10" << nome.left(35) + " RI:00000000 CG"
                                    << "CG " + nome.left(35) + " RI:00000000" << "10,00" << "10";
        QTest::newRow("saída da lista") << "S" << "9" << "#0" << "80" << "CONTA DE LUZ CT:123" << "CONTA DE LUZ CT:123"
                                        << "80,00" << "80";
        QTest::newRow("saída longa com a conta inteira") << "S" << "9" << "#1" << "1" << tem << tem << "1,00" << "1";
    }
    void grava_cada_tipo() {
        QFETCH(QString, tipo);
        QFETCH(QString, dia);
        QFETCH(QString, hist);
        QFETCH(QString, valor);
        QFETCH(QString, guardado);
        QFETCH(QString, mostrado);
        QFETCH(QString, celula);
        QFETCH(QString, armazenado);
        Ambiente amb;
        LivroCaixa* f = abre(amb, {{Grande, 12, 2020, 1, 1, "O", "ANTIGO", 1}});
        lanca(f, tipo, dia, hist, valor);
        QVERIFY(Roteiro::Caixas().empty());
        QCOMPARE(this->guardado(amb, Grande + 1), guardado);
        QCOMPARE(this->guardado(amb, Grande + 1, "Dia"), dia);
        QCOMPARE(this->guardado(amb, Grande + 1, "Valor"), armazenado);
        QCOMPARE(Linhas(f->LstLivroCx), QStringList{linha(tipo, dia.toInt(), mostrado, celula)});
        QCOMPARE(f->LstLivroCx->ItemData(0), Grande + 1);
        QCOMPARE(f->CboHistorico->Text(), QString());
        QCOMPARE(f->TxtDia->Text(), QString());
        QCOMPARE(f->TxtValor->Text(), QString());
        // The month must be sent again; other months stay sent.
        QCOMPARE(amb.Conta("SELECT group_concat(Mes) FROM Transmissao"), 7);
    }

    // Presets: the weekday's offering (1 August 2021 is a Sunday), and the
    // prebend, ten per cent of the inflows in whole units.
    void predefinicoes() {
        Ambiente amb;
        LivroCaixa* f = abre(amb, {{1, 12, 2021, 8, 3, "O", "CULTO", 1274.56}, {2, 12, 2021, 8, 9, "S", "LUZ", 81.0}});
        QTest::mouseClick(f->OptOfertas, Qt::LeftButton);
        Digita(f->TxtDia, "8");
        f->CboHistorico->SetFocus();
        QCOMPARE(f->TxtDia->Text() + f->CboHistorico->Text(), QString("08domingo - culto"));
        troca(f->CboHistorico, "PREBENDA PASTOR");
        f->TxtValor->SetFocus();
        QCOMPARE(f->TxtValor->Text(), QString("127,00"));
    }

    void entradas_recusadas_data() {
        const QString dia = "Dia inválido. Preencha corretamente.", valor = "Preencha Valor R$ Corretamente.",
                      hist = "Preencha Descrição do Histórico Corretamente.";
        for (const char* c : {"tipo", "dia", "hist", "valor", "mensagem"}) QTest::addColumn<QString>(c);
        QTest::addColumn<int>("mes");  // the working month
        QTest::addColumn<int>("ano");
        QTest::newRow("29 de um ano bissexto: gravado") << "O" << "29" << "A" << "1" << "" << 2 << 2024;
        QTest::newRow("dia não numérico") << "O" << "ab" << "A" << "1" << "Preencha Dia Corretamente." << 8 << 2021;
        QTest::newRow("dia zero") << "O" << "0" << "A" << "1" << dia << 8 << 2021;
        QTest::newRow("dia 32") << "O" << "32" << "A" << "1" << dia << 8 << 2021;
        QTest::newRow("31 de setembro") << "O" << "31" << "A" << "1" << dia << 9 << 2021;
        QTest::newRow("29 de ano comum") << "O" << "29" << "A" << "1" << dia << 2 << 2023;
        QTest::newRow("sem histórico") << "D" << "5" << "" << "1" << hist << 8 << 2021;
        QTest::newRow("valor não numérico") << "O" << "5" << "A" << "abc" << valor << 8 << 2021;
        QTest::newRow("valor além da coluna") << "O" << "5" << "A" << "9999999" << valor << 8 << 2021;
        QTest::newRow("milhar digitado") << "O" << "5" << "A" << "1.234,56" << valor << 8 << 2021;  // typed: "1,234,56"
        QTest::newRow("apóstrofo") << "O" << "5" << "D'AVILA" << "1"
                                   << "Para prosseguir retire apóstrofos (') do Histórico." << 8 << 2021;
        QTest::newRow("ponto no RI") << "D" << "5" << "RI:1.234" << "1"
                                     << "Para prosseguir retire pontos (.) do Nº do RI." << 8 << 2021;
        QTest::newRow("sem lugar para o cargo") << "D" << "5" << "RI:" + QString(46, '1') << "1" << hist << 8 << 2021;
        QTest::newRow("saída sem conta escolhida")
            << "S" << "5" << "LUZ CT:123" << "1" << "Para prosseguir é necessário o Nº da Conta (CT:?\?\?) no Histórico."
            << 8 << 2021;
    }
    void entradas_recusadas() {
        QFETCH(QString, tipo);
        QFETCH(QString, dia);
        QFETCH(QString, hist);
        QFETCH(QString, valor);
        QFETCH(QString, mensagem);
        QFETCH(int, mes);
        QFETCH(int, ano);
        Ambiente amb;
        LivroCaixa* f = abre(amb);
        Param[9] = QString::number(mes);
        Param[10] = QString::number(ano);
        if (!mensagem.isEmpty()) Roteiro::Responde(vbOK);
        lanca(f, tipo, dia, hist, valor);
        if (mensagem.isEmpty()) QVERIFY(Roteiro::Caixas().empty());
        else CONFERE_CAIXA(mensagem, vbExclamation);
        // Nothing refused is stored or listed.
        const int gravados = mensagem.isEmpty() ? 1 : 0;
        QCOMPARE(amb.Conta("SELECT COUNT(*) FROM LivroCaixa"), gravados);
        QCOMPARE(f->LstLivroCx->ListCount(), gravados);
    }

    void colagem_conta_e_mes_recusados() {
        Ambiente amb;
        LivroCaixa* f = abre(amb);
        Roteiro::Responde(vbOK);
        lanca(f, "S", "5", "LUZ CT:123", "1");
        Roteiro::LimpaCaixas();

        // A pasted "1234.56" is refused, never read as 123456.
        QApplication::clipboard()->setText("1234.56");
        troca(f->TxtValor, "");
        QTest::keyClick(f->TxtValor, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(f->TxtValor->Text(), QString("1234.56"));
        envia(f, vbOK);
        CONFERE_CAIXA("Preencha Valor R$ Corretamente.", vbExclamation);

        // The account is the whole tag of the history chosen: "CT:1234" is not "CT:123".
        troca(f->TxtValor, "1");
        f->CboHistorico->setListIndex(0);
        Digita(f->CboHistorico, "4");
        envia(f, vbOK);
        CONFERE_CAIXA("A Conta CT:1234 é Inválida para este Histórico. Verifique.", vbExclamation);
        troca(f->CboMesAno, "");
        envia(f, vbOK);
        CONFERE_CAIXA("Preencha Mês de Referência Corretamente.", vbExclamation);
        QCOMPARE(amb.Conta("SELECT COUNT(*) FROM LivroCaixa"), 0);
        QCOMPARE(f->LstLivroCx->ListCount(), 0);
    }

    // The entry and the month's transmission record apply together: when
    // removing the record fails, a save, a correction or a deletion leaves
    // the file, the list, the totals and the fields as they were.
    void lancamento_e_transmissao_juntos_data() {
        QTest::addColumn<QString>("acao");
        QTest::addColumn<QList<int>>("respostas");
        QTest::addColumn<QString>("campos");
        QTest::newRow("grava") << "grava" << QList<int>{vbNo} << "06|DOAÇÃO|5,00";
        QTest::newRow("corrige") << "corrige" << QList<int>{vbNo} << "||";
        QTest::newRow("remove") << "remove" << QList<int>{vbYes, vbNo} << "||";
    }
    void lancamento_e_transmissao_juntos() {
        QFETCH(QString, acao);
        QFETCH(QList<int>, respostas);
        QFETCH(QString, campos);
        Ambiente amb;
        LivroCaixa* f = abre(amb, {{1, 12, 2021, 8, 3, "O", "CULTO", 50.0}});
        amb.Sql("CREATE TRIGGER falha BEFORE DELETE ON Transmissao BEGIN SELECT RAISE(ABORT, 'sem acesso'); END");
        const QStringList antes = Linhas(f->LstLivroCx);
        const QString totaisAntes = totais(f);
        for (int r : respostas) Roteiro::Responde(r);
        if (acao == "grava") {
            lanca(f, "O", "6", "DOAÇÃO", "5");
        } else if (acao == "corrige") {
            Duplo_Clique(f->LstLivroCx, 0);
        } else {
            f->LstLivroCx->setListIndex(0);
            f->LstLivroCx->SetFocus();
            QTest::keyClick(f->LstLivroCx, Qt::Key_Delete);
        }
        QVERIFY(Roteiro::Caixas().back().titulo.startsWith("<<< Ocorrência de Erro"));
        QCOMPARE(Roteiro::Pendentes(), 0);
        QCOMPARE(amb.Le("SELECT group_concat(Codigo) FROM LivroCaixa")->Fields(0).toString(), QString("1"));
        QCOMPARE(amb.Conta("SELECT COUNT(*) FROM Transmissao WHERE Mes = 8"), 1);
        QCOMPARE(Linhas(f->LstLivroCx), antes);
        QCOMPARE(totais(f), totaisAntes);
        QCOMPARE(f->TxtDia->Text() + "|" + f->CboHistorico->Text() + "|" + f->TxtValor->Text(), campos);
    }

    // Yes to "Continua Tentando ?" saves the whole entry again: once in the
    // file and the list, with the month no longer counted as transmitted.
    void repeticao_grava_o_lancamento_inteiro() {
        Ambiente amb;
        LivroCaixa* f = abre(amb, {{1, 12, 2021, 8, 3, "O", "CULTO", 50.0}});
        amb.Sql("CREATE TRIGGER falha BEFORE DELETE ON Transmissao BEGIN SELECT RAISE(ABORT, 'sem acesso'); END");
        troca(f->CboHistorico, "DOAÇÃO");
        troca(f->TxtDia, "6");
        troca(f->TxtValor, "5");
        // The error box lets pending events run: the fault is mended while
        // the user reads it, before the answer.
        QTimer::singleShot(0, [&] { amb.Sql("DROP TRIGGER falha"); });
        Roteiro::Responde(vbYes);
        QTest::mouseClick(f->CmdEnvia, Qt::LeftButton);
        QCOMPARE(Roteiro::Caixas().size(), size_t(1));
        QCOMPARE(amb.Le("SELECT group_concat(Codigo || ':' || Historico) FROM LivroCaixa")->Fields(0).toString(),
                 QString("1:CULTO,2:DOAÇÃO"));
        QCOMPARE(amb.Conta("SELECT COUNT(*) FROM Transmissao WHERE Mes = 8"), 0);
        QCOMPARE(totais(f), QString("55,00|0,00|55,00|2 Registro(s)"));
    }

    void corrige_remove_e_fecha() {
        Ambiente amb;
        LivroCaixa* f = abre(amb, {{1, 12, 2021, 8, 3, "O", "CULTO", 50.0}, {2, 12, 2021, 8, 4, "D", "ANA LIMA RI:00000451 DC", 30.0},
                                   {3, 12, 2021, 8, 5, "S", "ÁGUA", 7.0}, {Grande, 12, 2021, 8, 10, "S", "CONTA DE LUZ CT:123", 9.0}});
        auto linhaDe = [&](const char* inicio) {
            return int(Linhas(f->LstLivroCx).indexOf(QRegularExpression(QString(inicio) + ".*")));
        };
        auto duploClique = [&](const char* inicio) { Duplo_Clique(f->LstLivroCx, linhaDe(inicio)); };
        const QString transmitido = "SELECT COUNT(*) FROM Transmissao WHERE Mes = 8";

        // An offering comes back with its own history, not a longer one
        // that begins with it; the stored entry and the month's
        // transmission record are gone at once.
        duploClique("O 03");
        QCOMPARE(f->TxtDia->Text() + "|" + f->CboHistorico->Text() + "|" + f->TxtValor->Text(), QString("03|CULTO|50,00"));
        QCOMPARE(f->CboHistorico->ListIndex(), -1);
        QCOMPARE(guardado(amb, 1), Nenhum);
        QCOMPARE(amb.Conta(transmitido), 0);
        QCOMPARE(totais(f), QString("30,00|16,00|14,00|3 Registro(s)"));
        Roteiro::Responde(vbNo);
        duploClique("D 04");
        CONFERE_CAIXA("Existem dados em edição. Confirma sobrepor?", vbYesNo + vbQuestion + vbDefaultButton2);
        QCOMPARE(f->CboHistorico->Text() + f->LblRegs->Caption(), QString("CULTO3 Registro(s)"));
        QTest::mouseClick(f->CmdEnvia, Qt::LeftButton);
        QCOMPARE(guardado(amb, Grande + 1), QString("CULTO"));

        // A tithe finds its tither again and is stored the same.
        duploClique("D 04");
        QVERIFY(f->OptDizimos->Value());
        QVERIFY(f->CboHistorico->ListIndex() >= 0);
        QTest::mouseClick(f->CmdEnvia, Qt::LeftButton);
        QCOMPARE(guardado(amb, Grande + 2), QString("ANA LIMA RI:00000451 DC"));

        // An outflow without its tag comes back without the account chosen earlier.
        QTest::mouseClick(f->OptSaidas, Qt::LeftButton);
        f->CboHistorico->setListIndex(0);
        troca(f->CboHistorico, "");
        duploClique("S 05");
        QCOMPARE(f->CboHistorico->Text(), QString("ÁGUA"));
        envia(f, vbOK);
        CONFERE_CAIXA("Para prosseguir é necessário o Nº da Conta (CT:?\?\?) no Histórico.", vbExclamation);

        // The Delete key asks with the row's kind, day and history.
        f->LstLivroCx->setListIndex(linhaDe("S 10"));
        amb.Sql("INSERT INTO Transmissao VALUES (8, 2021, '2021-09-01', 'ANA')");
        Roteiro::Responde(vbNo);
        f->LstLivroCx->SetFocus();
        QTest::keyClick(f->LstLivroCx, Qt::Key_Delete);
        CONFERE_CAIXA("Deseja remover S 10 CONTA DE LUZ CT:123 ?", vbYesNo + vbQuestion + vbDefaultButton2);
        QCOMPARE(guardado(amb, Grande), QString("CONTA DE LUZ CT:123"));
        Roteiro::Responde(vbYes);
        QTest::keyClick(f->LstLivroCx, Qt::Key_Delete);
        CONFERE_CAIXA("Deseja remover S 10 CONTA DE LUZ CT:123 ?", vbYesNo + vbQuestion + vbDefaultButton2);
        QCOMPARE(guardado(amb, Grande), Nenhum);
        QCOMPARE(f->TxtSaidas->Text(), QString("0,00"));
        QCOMPARE(amb.Conta(transmitido), 0);

        // A failed insert adds no row; closing with Yes and a failed save
        // keeps the form open with the entry in its fields.
        amb.Sql("CREATE TRIGGER falha BEFORE INSERT ON LivroCaixa BEGIN SELECT RAISE(ABORT, 'cheio'); END");
        const int antes = f->LstLivroCx->ListCount();
        Roteiro::Responde(vbNo);  // "Continua Tentando ?"
        lanca(f, "O", "6", "DOAÇÃO", "5");
        QVERIFY(Roteiro::Caixas().back().titulo.startsWith("<<< Ocorrência de Erro"));
        QCOMPARE(f->LstLivroCx->ListCount(), antes);
        QCOMPARE(f->TxtEntradas->Text(), QString("80,00"));
        Roteiro::LimpaCaixas();
        Roteiro::Responde(vbYes);
        Roteiro::Responde(vbNo);
        QVERIFY(!f->Unload());
        const Roteiro::Caixa pergunta = Roteiro::Caixas().front();
        QCOMPARE(pergunta.prompt + QString::number(pergunta.estilo) + f->CboHistorico->Text(),
                 "Existem dados em edição. Deseja Salvar ?" + QString::number(vbYesNo + vbQuestion) + "DOAÇÃO");
        amb.Sql("DROP TRIGGER falha");
        Roteiro::Responde(vbYes);
        QVERIFY(f->Unload());
        QCOMPARE(amb.Conta("SELECT COUNT(*) FROM LivroCaixa WHERE Historico = 'DOAÇÃO'"), 1);
    }
};

REGISTRA_TESTE(tst_LivroCaixa)
#include "tst_LivroCaixa.moc"
