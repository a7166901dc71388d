// The TV page: its bytes pinned (the fixed lines, the title's month, one
// item per line, Windows-1252, CR LF), the escaping of HTML's special
// characters and the numeric references of control characters and of
// characters the code page lacks, every byte of the page read;
// then the form from the menu: the month's list with and without
// positions, the folder frame, the page written there and again over
// itself, an empty month, a folder that refuses the page, a list not read
// whole, 1,234 lines.
#include "exports/ExpWeb.h"
#include "exports/PaginaTV.h"
#include "platform/ListasArquivos.h"
#include "platform/Tela.h"
#include "support/Ambiente.h"
#include "support/Interacao.h"
#include "support/Protecao.h"
#include "support/Registro.h"
#include "support/Tabela.h"
#include <QtTest>
#include <optional>

namespace {
// The page's lines for a title and items, as bytes, CR LF after each.
QByteArray Pagina(const QByteArray& titulo, const QList<QByteArray>& itens) {
    QList<QByteArray> l = {"<html>",
                           "<body style='color: white; background-color: black;'>",
                           "<div>",
                           "<center><h1><u>RELA\xC7\xC3O DE DIZIMISTAS EM " + titulo + "</u></h1></center>",
                           "</div>",
                           "<div>",
                           "<marquee direction='up' scrollamount='2' width='100%' height='80%'>",
                           "<h1>",
                           "<ul type='square'>"};
    for (const QByteArray& i : itens) l << "<li>" + i + "<br>";
    l << "</ul>" << "</h1>" << "</marquee>" << "</div>" << "<div align='right'>"
      << "<h3>Tavrelo&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;</h3>" << "</div>" << "</body>" << "</html>";
    return l.join("\r\n") + "\r\n";
}

const QStringList Dizimos = {"JOAO DA SILVA RI:00012345 MB", "MARIA SOUZA RI:00000000 CG", "A & B RI:00000002 DC"};

struct Recusa {
    bool somenteLeitura;  // else the folder is gone
    QList<int> respostas;
    long erro;
};

struct Caso {
    QString mes;
    QStringList linhas;
    QByteArray titulo;
    QList<QByteArray> itens;
};
}  // namespace

class tst_ExpWeb : public QObject {
    Q_OBJECT
private slots:
    void pagina_data() {
        Tabela<Caso>({
            {"o mês de agosto", {"AGOSTO / 2021", {"JOAO DA SILVA RI:00012345", "MB. MARIA SOUZA RI:00000451"},
                                 "AGOSTO / 2021", {"JOAO DA SILVA RI:00012345", "MB. MARIA SOUZA RI:00000451"}}},
            {"acentos na página de código", {"MARÇO / 2022", {"JOSÉ CONCEIÇÃO RI:00000001", "ÀÉÎÕÜ ÿ €"},
                                            "MAR\xC7O / 2022", {"JOS\xC9 CONCEI\xC7\xC3O RI:00000001", "\xC0\xC9\xCE\xD5\xDC \xFF \x80"}}},
            {"acento digitado à parte", {"AGOSTO / 2021", {QString("JOSE") + QChar(0x301) + " RI:1"},
                                         "AGOSTO / 2021", {"JOS\xC9 RI:1"}}},
            {"especiais do HTML", {"A & B <2021>", {"A & B RI:1", "<script>alert(1)</script>"},
                                  "A &amp; B &lt;2021&gt;", {"A &amp; B RI:1", "&lt;script&gt;alert(1)&lt;/script&gt;"}}},
            {"fora da página de código", {"AGOSTO / 2021", {QString("ANA ") + QString::fromUcs4(U"\U0001F600") + " RI:1", "ΩMEGA?", "A\tB"},
                                          "AGOSTO / 2021", {"ANA &#128512; RI:1", "&#937;MEGA?", "A&#9;B"}}},
            {"linhas aparadas", {"AGOSTO / 2021", {"   ANA RI:1   ", ""}, "AGOSTO / 2021", {"ANA RI:1", ""}}},
            {"sem parâmetros, sem mês", {"", {"ANA RI:1"}, "", {"ANA RI:1"}}},
        });
    }
    void pagina() {
        QFETCH(Caso, caso);
        const QByteArray bytes = Pagina_TV::Monta(caso.mes, caso.linhas);
        QCOMPARE(bytes, Pagina(caso.titulo, caso.itens));
        QCOMPARE(bytes.count("\r\n"), 18 + caso.linhas.size());
        QCOMPARE(bytes.count('\n'), 18 + caso.linhas.size());
    }

    // Every code point up to U+00FF in one item, and then every byte of
    // the page read: each a character a Windows-1252 reader shows, or the
    // CR LF that ends a line. The control characters, DEL and the C1
    // controls come as numeric references, NUL as the replacement
    // character's.
    void cadaByte() {
        QString linha = "A";
        QByteArray item = "A";
        for (char16_t c = 0; c <= 0xFF; ++c) {
            linha += QChar(c);
            if (c == 0) item += "&#65533;";
            else if (c < 0x20 || (c >= 0x7F && c < 0xA0)) item += "&#" + QByteArray::number(c) + ';';
            else if (c == '&') item += "&amp;";
            else if (c == '<') item += "&lt;";
            else if (c == '>') item += "&gt;";
            else item += char(c);
        }
        linha += "B";
        item += "B";
        const QByteArray pagina = Pagina_TV::Monta("AGOSTO / 2021", {linha});
        const QByteArray semCaractere("\x81\x8D\x8F\x90\x9D", 5);
        for (qsizetype i = 0; i < pagina.size(); ++i) {
            const uchar b = uchar(pagina[i]);
            if (b == '\r' && pagina.mid(i + 1, 1) == "\n") {
                ++i;
                continue;
            }
            QVERIFY2(b >= 0x20 && b != 0x7F && !semCaractere.contains(char(b)),
                     qPrintable(QString("byte %1 na posição %2").arg(b).arg(i)));
        }
        QCOMPARE(pagina, Pagina("AGOSTO / 2021", {item}));
    }

    void nomeDoArquivo() {
        QCOMPARE(Pagina_TV::Arquivo("/home/ana/TV", "0123", "8", "2021"), QString("/home/ana/TV/0123-082021.html"));
        QCOMPARE(Pagina_TV::Arquivo("/", "0123", "12", "2021"), QString("/0123-122021.html"));
    }
    // ---- the form, from the menu

    // Church 0123, August 2021: three tithes of the month, an offering, a
    // tithe of July; the folder lists start on the test's folder.
    ExpWeb* abre(Ambiente& amb, const QStringList& dizimos = Dizimos) {
        int codigo = 5000;
        for (const QString& h : dizimos)
            amb.Sql("INSERT INTO LivroCaixa VALUES (?1, 123, 2021, 8, 5, 'D', ?2, 10)", {++codigo, h});
        amb.Sql("INSERT INTO LivroCaixa VALUES (?1, 123, 2021, 8, 6, 'O', 'OFERTA DO CULTO', 50)", {++codigo});
        amb.Sql("INSERT INTO LivroCaixa VALUES (?1, 123, 2021, 7, 6, 'D', 'PEDRO RI:00000009 MB', 50)", {++codigo});
        amb.Parametros(123, "SETOR LESTE", "VILA NOVA", "S", 8, 2021);
        Pastas::DefinePessoal(amb.Pasta());
        return Abre_Pelo_Menu<ExpWeb>(&Principal::Exp_Web);
    }

    // "Exportar", the folder chosen in the folder list, then "OK" with the
    // script's answers.
    static void exporta(ExpWeb* f, const QString& pasta, const QList<int>& respostas = {vbOK}) {
        QTest::mouseClick(f->CmdGrava, Qt::LeftButton);
        QVERIFY(f->Fra_Igrejas->isVisible());
        // The box shows the folder once the folder list has moved.
        if (f->Dir_Termo->Path() != pasta) {
            f->Dir_Termo->setPath(pasta);
            QCOMPARE(f->TxtArq->Text(), pasta);
        }
        for (int r : respostas) Roteiro::Responde(r);
        QTest::mouseClick(f->Cmd_Transp, Qt::LeftButton);
        QVERIFY(!Roteiro::HouveInesperada());
        QCOMPARE(Roteiro::Pendentes(), 0);
        QCOMPARE(Screen::MousePointerAtual(), 0);
    }

    static QString sucesso(const QString& arquivo) {
        return "Arquivo " + arquivo + "\rGerado com Sucesso.\rExecute-o com seu navegador padrão.";
    }

    void init() { Roteiro::LimpaCaixas(); }
    void cleanup() { Fecha_Tudo(); }

    // The month's list with and without positions, and its page: written
    // into the chosen folder under the church's code and month, written
    // again over itself, the lines sorted as the list shows them.
    void paginaDoMes() {
        Ambiente amb;
        ExpWeb* f = abre(amb);
        QCOMPARE(f->Caption(), QString(" Exportação de Dados para TV / Monitor"));
        QCOMPARE(f->CboMesAno->currentText(), QString("AGOSTO / 2021"));
        QVERIFY(!f->Fra_Igrejas->isVisible());
        QCOMPARE(Linhas(f->LstExpWeb), (QStringList{"A & B RI:00000002", "JOAO DA SILVA RI:00012345", "MARIA SOUZA RI:00000000"}));
        QCOMPARE(f->LblRegs->Caption(), QString("3 Registro(s)"));

        const QString pasta = amb.Pasta() + "/TV";
        QVERIFY(QDir().mkdir(pasta));
        const QString arquivo = pasta + "/0123-082021.html";
        exporta(f, pasta);
        CONFERE_CAIXA(sucesso(arquivo), vbOKOnly + vbInformation);
        QCOMPARE(Bytes(arquivo),
                 Pagina("AGOSTO / 2021", {"A &amp; B RI:00000002", "JOAO DA SILVA RI:00012345", "MARIA SOUZA RI:00000000"}));

        QTest::mouseClick(f->ChkCargo, Qt::LeftButton);
        QCOMPARE(Linhas(f->LstExpWeb),
                 (QStringList{"CG. MARIA SOUZA RI:00000000", "DC. A & B RI:00000002", "MB. JOAO DA SILVA RI:00012345"}));
        Roteiro::Responde(vbOK);
        QTest::mouseClick(f->Cmd_Transp, Qt::LeftButton);
        CONFERE_CAIXA(sucesso(arquivo), vbOKOnly + vbInformation);
        QCOMPARE(QDir(pasta).entryList(QDir::Files | QDir::Hidden), QStringList{"0123-082021.html"});
        QCOMPARE(Bytes(arquivo), Pagina("AGOSTO / 2021", {"CG. MARIA SOUZA RI:00000000", "DC. A &amp; B RI:00000002",
                                                          "MB. JOAO DA SILVA RI:00012345"}));

        // "Fechar" hides the frame; the drive list moves the folder list.
        QTest::mouseClick(f->CmdGrava, Qt::LeftButton);
        QTest::mouseClick(f->Cmd_Fechar, Qt::LeftButton);
        QVERIFY(!f->Fra_Igrejas->isVisible());
        f->Drv_Termo->setDrive("/");
        QCOMPARE(f->Dir_Termo->Path(), QString("/"));
        QCOMPARE(f->TxtArq->Text(), QString("/"));
    }

    // What is written is what is stored when "OK" is pressed: an entry
    // saved since the form opened is in the page; a month without tithes
    // writes nothing.
    void paginaDoQueEstaGravado() {
        Ambiente amb;
        ExpWeb* f = abre(amb, {});
        QCOMPARE(f->LblRegs->Caption(), QString(" Registro(s)"));
        exporta(f, amb.Pasta());
        CONFERE_CAIXA("Não há dados para Salvar", vbOKOnly + vbInformation);
        QVERIFY(!QFileInfo::exists(amb.Pasta() + "/0123-082021.html"));

        amb.Sql("INSERT INTO LivroCaixa VALUES (99, 123, 2021, 8, 9, 'D', 'JOSÉ CONCEIÇÃO RI:00000077 PR', 10)");
        exporta(f, amb.Pasta());
        CONFERE_CAIXA(sucesso(amb.Pasta() + "/0123-082021.html"), vbOKOnly + vbInformation);
        QCOMPARE(Bytes(amb.Pasta() + "/0123-082021.html"), Pagina("AGOSTO / 2021", {"JOS\xC9 CONCEI\xC7\xC3O RI:00000077"}));
        QCOMPARE(f->LblRegs->Caption(), QString("1 Registro(s)"));
    }

    void pastaQueRecusa_data() {
        Tabela<Recusa>({
            {"pasta apagada, Não", {false, {vbNo}, 76}},
            {"somente leitura, Sim e Não", {true, {vbYes, vbNo}, 70}},
        });
    }
    // A folder that cannot take the page: the handler's message, Yes tries
    // again, No gives up without the success message, and the page written
    // there before stays byte for byte.
    void pastaQueRecusa() {
        QFETCH(Recusa, caso);
        Ambiente amb;
        ExpWeb* f = abre(amb);
        const QString pasta = amb.Pasta() + "/TV";
        QVERIFY(QDir().mkdir(pasta));
        const QString arquivo = pasta + "/0123-082021.html";
        exporta(f, pasta);
        Roteiro::LimpaCaixas();
        const QByteArray antes = Bytes(arquivo);
        amb.Sql("INSERT INTO LivroCaixa VALUES (99, 123, 2021, 8, 9, 'D', 'NOVO DIZIMISTA RI:00000077 PR', 10)");
        std::optional<Protecao> protecao;
        if (caso.somenteLeitura) {
            protecao.emplace(pasta);
            QVERIFY(protecao->Protegido());
        } else {
            QVERIFY(QDir(pasta).removeRecursively());
        }
        exporta(f, pasta, caso.respostas);
        QCOMPARE(qsizetype(Roteiro::Caixas().size()), caso.respostas.size());
        for (const Roteiro::Caixa& c : Roteiro::Caixas())
            QCOMPARE(c.titulo, "<<< Ocorrência de Erro " + QString::number(caso.erro) + " >>>");
        if (caso.somenteLeitura) QCOMPARE(Bytes(arquivo), antes);
        else QVERIFY(!QFileInfo::exists(pasta));
        protecao.reset();
        QCOMPARE(QDir(pasta).entryList(QDir::Files | QDir::Hidden), caso.somenteLeitura ? QStringList{"0123-082021.html"} : QStringList{});
    }

    // A list that could not be read whole writes no page.
    void cargaIncompleta() {
        Ambiente amb;
        ExpWeb* f = abre(amb);
        QVERIFY(QFile::rename(amb.Arquivo(), amb.Arquivo() + ".fora"));
        exporta(f, amb.Pasta(), {vbNo});
        QCOMPARE(Roteiro::Caixas().size(), size_t(1));
        QCOMPARE(Roteiro::Caixas()[0].titulo, QString("<<< Ocorrência de Erro 53 >>>"));
        QVERIFY(!QFileInfo::exists(amb.Pasta() + "/0123-082021.html"));
    }

    // 1,234 tithes: the count with its thousands point, and one item each.
    void milLinhas() {
        Ambiente amb;
        amb.Sql("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 1234) "
                "INSERT INTO LivroCaixa SELECT i, 123, 2021, 8, 1 + i % 28, 'D', 'DIZIMISTA ' || i || ' RI:' || "
                "substr('0000000' || i, -8) || ' MB', 10 FROM n");
        ExpWeb* f = abre(amb, {});
        QCOMPARE(f->LblRegs->Caption(), QString("1.234 Registro(s)"));
        exporta(f, amb.Pasta());
        const QByteArray pagina = Bytes(amb.Pasta() + "/0123-082021.html");
        QCOMPARE(pagina.count("\r\n"), 18 + 1234);
        QCOMPARE(pagina.count("<li>DIZIMISTA "), 1234);
    }
};

REGISTRA_TESTE(tst_ExpWeb)
#include "tst_ExpWeb.moc"
