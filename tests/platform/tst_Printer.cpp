// The printer object's jobs: the picture once per job and where it lands,
// the fixed-pitch font, a dropped job, a job that cannot start, a job the
// disk has no room for, and one job through a real print queue. Read back
// with poppler's own tools.
#include "platform/Printer.h"
#include "support/Ambiente.h"
#include "support/DiscoCheio.h"
#include "support/LeituraPdf.h"
#include "support/Registro.h"
#include "support/Tabela.h"
#include <QDir>
#include <QPainter>
#include <QPixmap>
#include <QTemporaryDir>
#include <QTest>
#include <QUuid>
#include <pwd.h>
#include <unistd.h>

namespace {
// The dark pixels' box on page 1, in millimetres from the paper's corner.
QRectF Mancha(const QString& pdf) {
    const QString base = pdf + "-pg";
    Executa("pdftoppm", {"-r", "100", "-gray", "-f", "1", "-l", "1", "-singlefile", pdf, base});
    const QImage img(base + ".pgm");
    int x0 = img.width(), y0 = img.height(), x1 = -1, y1 = -1;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (qGray(img.pixel(x, y)) < 128) {
                x0 = qMin(x0, x), y0 = qMin(y0, y), x1 = qMax(x1, x), y1 = qMax(y1, y);
            }
    const double mm = 25.4 / 100;
    return x1 < 0 ? QRectF() : QRectF(x0 * mm, y0 * mm, (x1 - x0 + 1) * mm, (y1 - y0 + 1) * mm);
}

void Prepara(Printer& p) {
    p.setPaperSize(9);
    p.setOrientation(1);
    p.setScaleMode(6);
    p.setFontName("Courier New");
    p.setFontSize(12);
}

// How many glyphs the pages draw (one "Tj" each in the content streams),
// read by Python's own inflate.
int Glifos(const QString& pdf) {
    const QString script = R"(
import re, sys, zlib
n = 0
for m in re.finditer(rb'stream\r?\n(.*?)endstream', open(sys.argv[1], 'rb').read(), re.S):
    try:
        n += len(re.findall(rb'> Tj\n', zlib.decompress(m.group(1))))
    except Exception:
        pass
print(n)
)";
    return Executa("/usr/bin/python3", {"-c", script, pdf}).trimmed().toInt();
}

// Courier New at 12 points: one character's advance in millimetres.
constexpr double Avanco12 = 12 * (1229.0 / 2048) * 25.4 / 72;

struct Figura { bool pixmap; double esquerda, topo; };
// The folder where a printer's job waits to be handed to the queue (TMPDIR)
// is `pasta` until the guard goes: what a test finds there is its own.
auto Pasta_Temporaria(const QString& pasta) {
    const QByteArray antes = qgetenv("TMPDIR");
    qputenv("TMPDIR", QFile::encodeName(pasta));
    return qScopeGuard([antes] { antes.isNull() ? qunsetenv("TMPDIR") : qputenv("TMPDIR", antes); });
}

// Whether the job goes to a queue (else to the tests' PDF folder), and the
// full disk wanted.
struct Disco { bool fila; Disco_Cheio::Meio meio; };
// A text printed at X 20 and the words it shows: each word's left edge in
// characters from X 20, and the glyphs drawn.
struct Brancos { QString texto; QList<QPair<QString, int>> palavras; int glifos; };
// The printers installed and the one chosen.
using Instaladas = QPair<QStringList, QString>;
}  // namespace

class tst_Printer : public QObject {
    Q_OBJECT
    QTemporaryDir pasta_;

private slots:
    // First, before anything in this process asks the print system for its
    // printers: the client library keeps the server it first reached.
    void filaReal() {
        QTemporaryDir cups;
        // The print system's filters run as another user: they must reach its spool.
        QFile::setPermissions(cups.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ExeGroup |
                                               QFile::ExeOther);
        const QString dir = cups.path() + "/cups";
        const QString script = QStringLiteral(TESOURARIA_FONTES) + "/scripts/cups-teste.sh";
        int rc = -1;
        const QString sock = Executa("bash", {script, "inicia", dir}, &rc).trimmed();
        const auto para = qScopeGuard([&] { Executa("bash", {script, "para", dir}); });
        if (rc == 3) QSKIP("cupsd, lpadmin or cups-pdf not installed (scripts/dependencias.sh installs them)");
        if (rc == 4) QSKIP("cupsd did not start on this machine (see its error log)");
        QCOMPARE(rc, 0);
        qputenv("CUPS_SERVER", sock.toUtf8());
        const auto semServidor = qScopeGuard([] { qunsetenv("CUPS_SERVER"); });
        Printer::DefinePastaPdf({});
        QCOMPARE(Printers::Nomes(), QStringList{"PDF"});

        // cups-pdf writes the job into ~/PDF of its user (the home the
        // system knows, whatever HOME says), named after the job's title and
        // its number, which a new print system starts again at 1: the title
        // holds a mark of this run alone, which no earlier run's file (nor
        // another run's at the same time) carries.
        const passwd* usuario = getpwuid(getuid());
        QVERIFY(usuario);
        const QDir saida(QFile::decodeName(usuario->pw_dir) + "/PDF");
        const QString marca = QUuid::createUuid().toString(QUuid::Id128);
        const QStringList filtro{"*" + marca + "*.pdf"};
        const auto limpa = qScopeGuard([&] {
            for (const QString& f : saida.entryList(filtro, QDir::Files)) QFile::remove(saida.filePath(f));
        });
        Printer p("PDF");
        Prepara(p);
        p.setTitulo("Recibo " + marca);
        p.setCurrentX(20), p.setCurrentY(20), p.Print("PRIMEIRA");
        p.NewPage();
        p.setCurrentX(20), p.setCurrentY(20), p.Print("SEGUNDA");
        p.EndDoc();
        QString novo;
        QTRY_VERIFY_WITH_TIMEOUT(([&] {
                                     novo = saida.entryList(filtro, QDir::Files).value(0);
                                     return !novo.isEmpty() && Le_Pdf(saida.filePath(novo)).paginas == 2;
                                 }()),
                                 30000);
        // The queue knows the job by its title.
        QVERIFY2(novo.startsWith("Recibo_" + marca), qPrintable(novo));

        // The queue removed while a job is being drawn: the job cannot start.
        p.setCurrentX(20), p.setCurrentY(20), p.Print("ORFA");
        Executa("/usr/sbin/lpadmin", {"-x", "PDF"});
        QCOMPARE(ErroDe([&] { p.EndDoc(); }), 482L);
        QVERIFY(!p.Imprimindo());
    }

    void init() {
        Printers::DefineLista({});
        Printer::DefinePastaPdf(pasta_.path() + '/' + QTest::currentTestFunction() + '/' +
                                QTest::currentDataTag());
        Define_Impressora({});
        Prepara(Impressora());
    }
    void cleanup() {
        Impressora().KillDoc();
        Printer::DefinePastaPdf({});
        Printers::DefineLista({});
    }

    // One picture on three pages is one picture in the file, and the
    // scale's offsets move it as they move the text.
    void figura_data() {
        Tabela<Figura>({
            {"imagem deslocada", {false, -5, -10}},
            {"pixmap deslocado", {true, 3, -4}},
        });
    }
    void figura() {
        QFETCH(Figura, caso);
        QImage img(40, 20, QImage::Format_Grayscale8);
        img.fill(Qt::black);
        const QPixmap px = QPixmap::fromImage(img);
        Printer& p = Impressora();
        p.setScaleLeft(caso.esquerda);
        p.setScaleTop(caso.topo);
        for (int pagina = 0; pagina < 3; ++pagina) {
            if (pagina) p.NewPage();
            if (caso.pixmap) p.PaintPicture(px, 30, 40, 20, 10);
            else p.PaintPicture(img, 30, 40, 20, 10);
        }
        p.EndDoc();
        const QString pdf = Printer::ArquivosPdf().value(0);
        const Figuras f = Le_Figuras(pdf);
        QCOMPARE(f.desenhos, 3);
        QCOMPARE(f.objetos, 1);
        const QRectF r = Mancha(pdf);
        QVERIFY2(qAbs(r.left() - (30 - caso.esquerda)) <= 0.5, qPrintable(QString::number(r.left())));
        QVERIFY2(qAbs(r.top() - (40 - caso.topo)) <= 0.5, qPrintable(QString::number(r.top())));
        QVERIFY2(qAbs(r.width() - 20) <= 0.5, qPrintable(QString::number(r.width())));
        QVERIFY2(qAbs(r.height() - 10) <= 0.5, qPrintable(QString::number(r.height())));
    }

    // A dropped job leaves no file and nothing open; the next job is whole,
    // in the fixed-pitch font.
    void abandono() {
        Printer& p = Impressora();
        p.setCurrentX(10), p.setCurrentY(10), p.Print("ABANDONADO");
        p.NewPage();
        p.KillDoc();
        QVERIFY(!p.Imprimindo());
        QVERIFY(Printer::ArquivosPdf().isEmpty());
        QCOMPARE(QDir(Printer::PastaPdf()).entryList(QDir::Files), QStringList());
        p.KillDoc();
        p.setCurrentX(10), p.setCurrentY(10), p.Print("NOVO");
        p.EndDoc();
        QCOMPARE(Printer::ArquivosPdf().size(), 1);
        QCOMPARE(Le_Pdf(Printer::ArquivosPdf()[0]).paginas, 1);
        const QString fontes = Executa("pdffonts", {Printer::ArquivosPdf()[0]});
        QVERIFY2(fontes.contains("LiberationMono"), qPrintable(fontes));
    }

    // Ending a job, by EndDoc or KillDoc, ends what it set: the next job,
    // setting only its unit, name and size, is neither bold nor shifted.
    void padroes_data() { Tabela<bool>({{"EndDoc", true}, {"KillDoc", false}}); }
    void padroes() {
        QFETCH(bool, caso);
        Printer& p = Impressora();
        p.setFontBold(true);
        p.setScaleLeft(-10);
        p.setOrientation(2);
        p.setCurrentX(20), p.setCurrentY(20), p.Print("PRIMEIRO");
        if (caso) p.EndDoc();
        else p.KillDoc();
        p.setScaleMode(6);
        p.setFontName("Courier New");
        p.setFontSize(10);
        p.setCurrentX(20), p.setCurrentY(20), p.Print("SEGUNDO");
        p.EndDoc();
        const QString pdf = Printer::ArquivosPdf().back();
        QVERIFY(!Executa("pdffonts", {pdf}).contains("Bold"));
        QVERIFY(Executa("pdfinfo", {pdf}).contains("595 x 842 pts"));
        const Documento d = Le_Pdf(pdf);
        QCOMPARE(d.Fora_Do_Lugar({{1, "SEGUNDO", 20, 20}}), QString());
    }

    // A font is drawn as named or refused: Courier New by its metric twin,
    // an installed family in any case, a face of the layer's own through
    // its drawing; a name that would fall back to another family is error
    // 483 naming it, and the font stays what it was.
    void fontes() {
        Printer& p = Impressora();
        // "Free 3 of 9" is the barcode font without the layer's own face:
        // only "Free 3 of 9 Extended" is drawn here.
        for (const QString nome : {"Tahoma", "Free 3 of 9", "", "Courier"}) {
            QString texto;
            QCOMPARE(ErroDe([&] { p.setFontName(nome); }, &texto), 483L);
            QCOMPARE(texto, "A fonte \"" + nome + "\" não está instalada: a impressora não pode desenhá-la.");
            QCOMPARE(p.FontName(), QString("Courier New"));
        }
        p.setFontName("liberation serif");
        p.setCurrentX(20), p.setCurrentY(20), p.Print("SERIFADA");
        p.EndDoc();
        const QString fontes = Executa("pdffonts", {Printer::ArquivosPdf().back()});
        QVERIFY2(fontes.contains("LiberationSerif"), qPrintable(fontes));

        // A face drawn by the layer: a bar as wide as the text's characters
        // at half the size, from the line's top down the given height.
        double pontos = 0;
        Printer::Registra_Face("Barras de Teste", [&](QPainter& pt, const QPointF& topo, const QFont& f, const QString& t) {
            pontos = f.pointSizeF();
            const double mm = pt.device()->logicalDpiX() / 25.4;
            pt.fillRect(QRectF(topo, QSizeF(t.size() * 5 * mm, 8 * mm)), Qt::black);
            return 10 * mm;
        });
        const auto semFace = qScopeGuard([] { Printer::Registra_Face("Barras de Teste", {}); });
        Prepara(p);
        p.setFontName("BARRAS DE TESTE");
        p.setFontSize(48);
        p.setCurrentX(30), p.setCurrentY(40), p.Print("*42*");
        QCOMPARE(p.CurrentY(), 50.0);
        p.EndDoc();
        QCOMPARE(pontos, 48.0);
        const QRectF r = Mancha(Printer::ArquivosPdf().back());
        QVERIFY2(Perto(r.left(), 30) && Perto(r.top(), 40) && Perto(r.width(), 20) && Perto(r.height(), 8),
                 qPrintable(QString("%1 %2 %3 %4").arg(r.left()).arg(r.top()).arg(r.width()).arg(r.height())));
        Printer::Registra_Face("Barras de Teste", {});
        QCOMPARE(ErroDe([&] { p.setFontName("Barras de Teste"); }), 483L);
    }

    // A job the disk had no room for: the writer reports nothing and leaves
    // its file cut short. That is error 61, with the file removed, listed
    // nowhere and nothing left open; on a disk with room again the next job
    // is whole. For a printer, the job's file (in the temporary folder) is
    // never handed to the queue.
    void discoCheio_data() {
        Tabela<Disco>({{"arquivo, tmpfs", {false, Disco_Cheio::Meio::Tmpfs}},
                       {"arquivo, limite de escrita", {false, Disco_Cheio::Meio::Limite}},
                       {"fila, tmpfs", {true, Disco_Cheio::Meio::Tmpfs}}});
    }
    void discoCheio() {
        QFETCH(Disco, caso);
        const bool fila = caso.fila;
        Disco_Cheio disco(4096, caso.meio);
        const auto tmp = Pasta_Temporaria(disco.Pasta());
        if (fila) {
            Printer::DefinePastaPdf({});
            Printers::DefineLista([] { return QStringList{"Fila"}; });
            Define_Impressora("Fila");
        } else {
            Printer::DefinePastaPdf(disco.Pasta());
        }
        Printer& p = Impressora();
        const auto paginas = [&](int n) {
            Prepara(p);
            for (int i = 1; i <= n; ++i) {
                if (i > 1) p.NewPage();
                p.setCurrentX(20), p.setCurrentY(20), p.Print(QString("PAGINA %1").arg(i));
            }
        };
        paginas(3);
        const long erro = ErroDe([&] { p.EndDoc(); });
        disco.Libera();
        QCOMPARE(erro, 61L);
        QVERIFY(!p.Imprimindo());
        QVERIFY(Printer::ArquivosPdf().isEmpty());
        QCOMPARE(QDir(disco.Pasta()).entryList(QDir::Files), QStringList());
        if (fila) return;

        paginas(3);
        p.EndDoc();
        QCOMPARE(Printer::ArquivosPdf().size(), 1);
        QCOMPARE(Le_Pdf(Printer::ArquivosPdf()[0]).paginas, 3);
    }

    // Blanks around a text draw nothing and move nothing: the text stands
    // where it stood among them, blanks inside it stay, and the line
    // advances as for any text.
    void brancos_data() {
        Tabela<Brancos>({
            {"sem brancos", {"ABC", {{"ABC", 0}}, 3}},
            {"cercado de brancos", {"   ABC  ", {{"ABC", 3}}, 3}},
            {"brancos entre palavras", {" A  B ", {{"A", 1}, {"B", 4}}, 4}},
            {"só brancos", {"     ", {}, 0}},
        });
    }
    void brancos() {
        QFETCH(Brancos, caso);
        Printer& p = Impressora();
        p.setCurrentX(20), p.setCurrentY(20), p.Print("X");
        const double linha = p.CurrentY() - 20;
        p.setCurrentX(20), p.setCurrentY(40), p.Print(caso.texto);
        QCOMPARE(p.CurrentY() - 40, linha);
        p.EndDoc();
        const QString pdf = Printer::ArquivosPdf().back();
        const Documento d = Le_Pdf(pdf);
        QList<Lugar> lugares;
        for (const auto& [palavra, coluna] : caso.palavras) lugares << Lugar{1, palavra, 40, 20 + coluna * Avanco12};
        QCOMPARE(d.Fora_Do_Lugar(lugares), QString());
        QCOMPARE(d.Linha(1, 40), QStringList([&] {
                     QStringList l;
                     for (const auto& w : caso.palavras) l << w.first;
                     return l;
                 }()).join(' '));
        QCOMPARE(Glifos(pdf), 1 + caso.glifos);
    }

    // One job changing size, weight and name between its texts, with a face
    // of the layer's own among them that leaves its own pen and font on the
    // painter: each text in its own font, each of the face's texts drawn
    // from the black pen, the text after them black.
    void fontesNoTrabalho() {
        Printer& p = Impressora();
        const auto imprime = [&](double y, const QString& t) { p.setCurrentX(20), p.setCurrentY(y), p.Print(t); };
        imprime(20, "DOZE");
        p.setFontSize(7);
        imprime(40, "SETE");
        p.setFontBold(true);
        imprime(50, "NEGRITO");
        p.setFontBold(false);
        p.setFontName("liberation serif");
        imprime(60, "SERIFA");
        p.setFontName("Courier New");
        imprime(70, "MONO");
        QList<QColor> canetas;
        Printer::Registra_Face("Barras de Teste", [&](QPainter& pt, const QPointF&, const QFont&, const QString&) {
            canetas << pt.pen().color();
            pt.setPen(Qt::white);
            pt.setFont(QFont("Liberation Serif"));
            return 0.0;
        });
        const auto semFace = qScopeGuard([] { Printer::Registra_Face("Barras de Teste", {}); });
        p.setFontName("Barras de Teste");
        imprime(100, "*1*");
        imprime(100, "*2*");
        QCOMPARE(canetas, (QList<QColor>{Qt::black, Qt::black}));
        p.setFontName("Courier New");
        p.setFontSize(12);
        imprime(120, "VOLTA");
        p.EndDoc();

        const QString pdf = Printer::ArquivosPdf().back();
        const QString fontes = Executa("pdffonts", {pdf});
        for (const char* f : {"LiberationMono-Bold", "LiberationSerif", "LiberationMono "})
            QVERIFY2(fontes.contains(f), qPrintable(fontes));
        const Documento d = Le_Pdf(pdf);
        QCOMPARE(d.Fora_Do_Lugar({{1, "DOZE", 20, 20}, {1, "SETE", 40, 20}, {1, "NEGRITO", 50, 20},
                                  {1, "SERIFA", 60, 20}, {1, "MONO", 70, 20}, {1, "VOLTA", 120, 20}}),
                 QString());
        // Widths by the fixed pitch at each size.
        for (const auto& [palavra, largura] : {QPair<const char*, double>{"DOZE", 4 * Avanco12},
                                               {"SETE", 4 * Avanco12 * 7 / 12},
                                               {"MONO", 4 * Avanco12 * 7 / 12},
                                               {"VOLTA", 5 * Avanco12}}) {
            const Palavra w = d.Acha(1, palavra);
            QVERIFY2(Perto(w.direita - w.x, largura), qPrintable(palavra + QString(" %1").arg(w.direita - w.x)));
        }
        // The last text is dark: the ink reaches below its top.
        QVERIFY2(Mancha(pdf).bottom() > 122, qPrintable(QString::number(Mancha(pdf).bottom())));
    }

    void semImpressora_data() {
        Tabela<Instaladas>({{"nenhuma instalada", {{}, {}}}, {"escolhida removida", {{"Outra"}, "Removida"}}});
    }
    void semImpressora() {
        QFETCH(Instaladas, caso);
        const auto& [instaladas, escolhida] = caso;
        Printer::DefinePastaPdf({});
        Printers::DefineLista([=] { return instaladas; });
        Define_Impressora(escolhida);
        QTemporaryDir tmp;
        const auto guarda = Pasta_Temporaria(tmp.path());
        QString texto;
        QCOMPARE(ErroDe([] { Impressora().Print("X"); }, &texto), 482L);
        QCOMPARE(texto, QString("Verifique se a Impressora existe, se está ligada e se tem papel."));
        QVERIFY(!Impressora().Imprimindo());
        QCOMPARE(QDir(tmp.path()).entryList(QDir::Files), QStringList());
    }
};

REGISTRA_TESTE(tst_Printer)
#include "tst_Printer.moc"
