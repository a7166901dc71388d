#include "platform/Printer.h"
#include "platform/Codigo39.h"
#include "platform/Erro.h"
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QHash>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPixmap>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTemporaryFile>
#include <dlfcn.h>
#include <optional>

namespace {
QString g_pastaPdf;
QStringList g_arquivosPdf;
int g_contadorPdf = 0;
std::function<QStringList()> g_lista;

double Unidades_Por_Polegada(int modo) {
    switch (modo) {
    case 1: return 1440.0;
    case 2: return 72.0;
    case 5: return 1.0;
    case 6: return 25.4;
    case 7: return 2.54;
    }
    return 0;
}

QPageSize::PageSizeId Tamanho_Papel(int papel) {
    switch (papel) {
    case 1: return QPageSize::Letter;
    case 5: return QPageSize::Legal;
    case 8: return QPageSize::A3;
    case 9: return QPageSize::A4;
    case 11: return QPageSize::A5;
    }
    return QPageSize::Custom;
}

const QString Texto_482 = QStringLiteral("Verifique se a Impressora existe, se está ligada e se tem papel.");

// The print system's client library, reached at run time so that the
// program builds without its development files and runs where it is
// missing (every job then fails to start, as with no printer at all).
struct Cups {
    struct Opcao {
        char* nome;
        char* valor;
    };
    using ImprimeArquivo = int (*)(const char*, const char*, const char*, int, Opcao*);
    ImprimeArquivo imprime = nullptr;

    static const Cups& Instancia() {
        static const Cups c;
        return c;
    }

private:
    Cups() {
        void* lib = dlopen("libcups.so.2", RTLD_NOW | RTLD_LOCAL);
        if (!lib) return;
        imprime = reinterpret_cast<ImprimeArquivo>(dlsym(lib, "cupsPrintFile"));
    }
};

// Hands the finished file to the queue; the print system has its own copy
// when this returns. False when the queue refused or could not be reached.
bool Envia_Fila(const QString& fila, const QString& arquivo, const QString& titulo) {
    const Cups& c = Cups::Instancia();
    if (!c.imprime) return false;
    const QByteArray f = fila.toUtf8(), a = QFile::encodeName(arquivo), t = titulo.toUtf8();
    return c.imprime(f.constData(), a.constData(), t.constData(), 0, nullptr) > 0;
}

QString Fonte_Real(const QString& nome) {
    if (nome.compare(QLatin1String("Courier New"), Qt::CaseInsensitive) == 0) return QStringLiteral("Liberation Mono");
    return nome;
}

// The faces the layer draws itself, by their names in lower case; the
// barcode face of the envelopes is known from the start.
QHash<QString, Printer::Desenho_Face>& Faces() {
    static QHash<QString, Printer::Desenho_Face> f{{Codigo39::Nome().toLower(), &Codigo39::Desenha}};
    return f;
}

// By the name in lower case.
const Printer::Desenho_Face* Face_Chave(const QString& chave) {
    const auto it = Faces().constFind(chave);
    return it == Faces().constEnd() ? nullptr : &*it;
}

const Printer::Desenho_Face* Face(const QString& nome) { return Face_Chave(nome.toLower()); }

// Whether the name is a family installed as such: asked for one that is
// not, the font system answers with whatever family it falls back to.
bool Instalada(const QString& nome) {
    static QHash<QString, bool> vistas;
    const QString chave = nome.toLower();
    auto it = vistas.constFind(chave);
    if (it == vistas.constEnd()) it = vistas.insert(chave, !nome.trimmed().isEmpty() && QFontDatabase::hasFamily(nome));
    return *it;
}

[[noreturn]] void Valor_Improprio() { Levanta_Erro(380, QStringLiteral("Valor impróprio para o Campo especificado.")); }

// Whether the PDF file the writer left is whole. The writer goes on after
// a write fails (a full disk) and reports nothing, leaving the file cut
// short: a whole one ends with its trailer, the address of its
// cross-reference table and the end mark, and that address holds the table.
bool Pdf_Inteiro(const QString& arquivo) {
    QFile f(arquivo);
    if (!f.open(QIODevice::ReadOnly)) return false;
    const qint64 tamanho = f.size();
    const qint64 cauda = qMin<qint64>(tamanho, 1024);
    if (!f.seek(tamanho - cauda)) return false;
    const QByteArray fim = f.read(cauda);
    const qsizetype endereco = fim.lastIndexOf("startxref");
    if (endereco < 0 || fim.lastIndexOf("trailer", endereco) < 0) return false;
    const QList<QByteArray> partes = fim.mid(endereco + 9).simplified().split(' ');
    if (partes.size() != 2 || partes[1] != "%%EOF") return false;
    bool ok = false;
    const qint64 tabela = partes[0].toLongLong(&ok);
    if (!ok || tabela < 0 || tabela >= tamanho || !f.seek(tabela)) return false;
    return f.read(4) == "xref";
}

QString Proximo_Pdf() {
    QDir().mkpath(g_pastaPdf);
    QString nome;
    do {
        nome = QDir(g_pastaPdf).filePath(QStringLiteral("impressao-%1.pdf").arg(++g_contadorPdf, 4, 10, QLatin1Char('0')));
    } while (QFileInfo::exists(nome));
    return nome;
}
}  // namespace

// The font of the last text and its measures on the job's device, kept
// while the name, size and weight stay: a report sets them once and prints
// thousands of texts.
struct Printer::Fonte {
    QString nome;
    double tamanho = 0;
    bool negrito = false;
    QString chave;  // the name in lower case, the face's key among the layer's own
    QFont fonte;
    double sobe = 0, altura = 0, branco = 0;  // ascent, line height, a blank's advance
};

struct Printer::Documento {
    QPrinter impressora{QPrinter::HighResolution};
    QPainter pintor;
    QString arquivo;                        // the tests' PDF folder: the job's file
    std::unique_ptr<QTemporaryFile> envio;  // a printer: the job until it is sent
    QString fila;
    // The last text's font: set on the painter with the black pen when it
    // was made (a face may have changed them since).
    std::optional<Fonte> fonte;
};

Printer::Printer(const QString& deviceName) : nome_(deviceName) {}

// A job still open when the program ends was never finished: dropped.
Printer::~Printer() { KillDoc(); }

QString Printer::DeviceName() const { return nome_.isEmpty() ? QPrinterInfo::defaultPrinterName() : nome_; }

void Printer::setPaperSize(int v) {
    if (Tamanho_Papel(v) == QPageSize::Custom) Valor_Improprio();
    a_.papel = v;
}

void Printer::setOrientation(int v) {
    if (v != 1 && v != 2) Valor_Improprio();
    a_.orientacao = v;
}

void Printer::setScaleMode(int v) {
    const double nova = Unidades_Por_Polegada(v);
    if (nova == 0) Valor_Improprio();
    const double antiga = Unidades_Por_Polegada(a_.escala);
    // The position stays where it is on paper, now told in the new unit.
    a_.x = (a_.x - a_.esquerda) / antiga * nova;
    a_.y = (a_.y - a_.topo) / antiga * nova;
    a_.escala = v;
    a_.esquerda = a_.topo = 0;
}

void Printer::setFontName(const QString& v) {
    if (!Face(v) && !Instalada(Fonte_Real(v)))
        Levanta_Erro(483, QStringLiteral("A fonte \"") + v +
                              QStringLiteral("\" não está instalada: a impressora não pode desenhá-la."));
    a_.fonte = v;
}

void Printer::Registra_Face(const QString& nome, Desenho_Face desenho) {
    if (desenho) Faces().insert(nome.toLower(), std::move(desenho));
    else Faces().remove(nome.toLower());
}

void Printer::setFontSize(double v) {
    if (!(v > 0) || v > 2160) Valor_Improprio();
    a_.tamanho = v;
}

double Printer::porUnidade() const {
    const int dpi = doc_ ? doc_->impressora.resolution() : 1200;
    return dpi / Unidades_Por_Polegada(a_.escala);
}

void Printer::comeca() {
    if (doc_) return;
    auto d = std::make_unique<Documento>();
    QPrinter& p = d->impressora;
    p.setOutputFormat(QPrinter::PdfFormat);
    if (!g_pastaPdf.isEmpty()) {
        d->arquivo = Proximo_Pdf();
        p.setOutputFileName(d->arquivo);
    } else {
        d->fila = DeviceName();
        if (d->fila.isEmpty() || !Printers::Nomes().contains(d->fila)) Levanta_Erro(482, Texto_482);
        d->envio = std::make_unique<QTemporaryFile>(QDir::temp().filePath(QStringLiteral("tesouraria-XXXXXX.pdf")));
        if (!d->envio->open()) Levanta_Erro(482, Texto_482);
        d->envio->close();
        p.setOutputFileName(d->envio->fileName());
    }
    p.setFullPage(true);
    p.setPageSize(QPageSize(Tamanho_Papel(a_.papel)));
    p.setPageOrientation(a_.orientacao == 2 ? QPageLayout::Landscape : QPageLayout::Portrait);
    p.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
    p.setDocName(a_.titulo);
    if (!d->pintor.begin(&p)) {
        if (!d->arquivo.isEmpty()) QFile::remove(d->arquivo);
        Levanta_Erro(482, Texto_482);
    }
    doc_ = std::move(d);
}

bool Printer::Imprimindo() const { return doc_ != nullptr; }

const Printer::Fonte& Printer::fonteAtual() {
    std::optional<Fonte>& f = doc_->fonte;
    if (f && f->nome == a_.fonte && f->tamanho == a_.tamanho && f->negrito == a_.negrito) return *f;
    Fonte n{a_.fonte, a_.tamanho, a_.negrito, a_.fonte.toLower(), {}, 0, 0, 0};
    n.fonte = QFont(Face_Chave(n.chave) ? a_.fonte : Fonte_Real(a_.fonte));
    n.fonte.setPointSizeF(a_.tamanho);
    n.fonte.setBold(a_.negrito);
    QPainter& pt = doc_->pintor;
    pt.setFont(n.fonte);
    pt.setPen(Qt::black);
    // Measured as the painter resolves it for its device.
    const QFontMetricsF m(pt.font(), pt.device());
    n.sobe = m.ascent();
    n.altura = m.height();
    n.branco = m.horizontalAdvance(QLatin1Char(' '));
    f = std::move(n);
    return *f;
}

void Printer::Print(const QString& texto) {
    comeca();
    const Fonte& f = fonteAtual();
    QPainter& pt = doc_->pintor;
    const double u = porUnidade();
    const QPointF topo((a_.x - a_.esquerda) * u, (a_.y - a_.topo) * u);
    double altura = 0;
    // Looked up on every text: a face may be registered or taken back
    // during a job.
    if (const Desenho_Face* face = Face_Chave(f.chave)) {
        // A face may change the painter as it draws: each of its texts
        // starts from the font and the pen, and the next font sets both.
        pt.setFont(f.fonte);
        pt.setPen(Qt::black);
        altura = (*face)(pt, topo, f.fonte, texto);
    } else {
        // Blanks around a text print nothing: a cell's padding and a fixed
        // column's tail are skipped, the text starting where it stood among
        // them, and the job's pages hold and compress only what shows.
        qsizetype i = 0, fim = texto.size();
        while (i < fim && texto[i] == QLatin1Char(' ')) ++i;
        while (fim > i && texto[fim - 1] == QLatin1Char(' ')) --fim;
        if (i < fim)
            pt.drawText(topo + QPointF(double(i) * f.branco, f.sobe),
                        fim - i == texto.size() ? texto : texto.sliced(i, fim - i));
        altura = f.altura;
    }
    a_.y += altura / u;
    a_.x = a_.esquerda;
}

QRectF Printer::areaFigura(bool vazia, double x, double y, double largura, double altura) {
    if (vazia) Levanta_Erro(481, QStringLiteral("Figura vazia."));
    comeca();
    const double u = porUnidade();
    return QRectF((x - a_.esquerda) * u, (y - a_.topo) * u, largura * u, altura * u);
}

void Printer::PaintPicture(const QImage& figura, double x, double y, double largura, double altura) {
    const QRectF area = areaFigura(figura.isNull(), x, y, largura, altura);
    doc_->pintor.drawImage(area, figura);
}

void Printer::PaintPicture(const QPixmap& figura, double x, double y, double largura, double altura) {
    const QRectF area = areaFigura(figura.isNull(), x, y, largura, altura);
    // Drawn as the pixmap it is: a copy would be a new picture in the job
    // on every page.
    doc_->pintor.drawPixmap(area, figura, QRectF(figura.rect()));
}

void Printer::NewPage() {
    comeca();
    if (!doc_->impressora.newPage()) Levanta_Erro(484, QStringLiteral("A impressora não avançou a página."));
    a_.x = a_.esquerda;
    a_.y = a_.topo;
}

void Printer::Padroes() { a_ = Ajustes(); }

std::unique_ptr<Printer::Documento> Printer::fecha() {
    std::unique_ptr<Documento> d = std::move(doc_);
    Padroes();
    return d;
}

void Printer::EndDoc() {
    if (!doc_) {
        Padroes();
        return;
    }
    std::unique_ptr<Documento> d = fecha();
    if (!d->pintor.end()) {
        if (!d->arquivo.isEmpty()) QFile::remove(d->arquivo);
        Levanta_Erro(484, QStringLiteral("A impressora não concluiu o documento."));
    }
    // A file cut short is never listed nor sent; the job's temporary file
    // goes with `d`.
    if (!Pdf_Inteiro(d->impressora.outputFileName())) {
        if (!d->arquivo.isEmpty()) QFile::remove(d->arquivo);
        Levanta_Erro(61, QStringLiteral("O arquivo do trabalho de impressão ficou incompleto: ") +
                             d->impressora.outputFileName());
    }
    if (!d->arquivo.isEmpty()) {
        g_arquivosPdf << d->arquivo;
        return;
    }
    // A queue removed since the job started refuses it: it did not start.
    if (!Envia_Fila(d->fila, d->envio->fileName(), d->impressora.docName())) Levanta_Erro(482, Texto_482);
}

void Printer::KillDoc() {
    if (!doc_) {
        Padroes();
        return;
    }
    std::unique_ptr<Documento> d = fecha();
    d->pintor.end();
    if (!d->arquivo.isEmpty()) QFile::remove(d->arquivo);
}

void Printer::DefinePastaPdf(const QString& pasta) {
    g_pastaPdf = pasta;
    g_arquivosPdf.clear();
}

QString Printer::PastaPdf() { return g_pastaPdf; }
QStringList Printer::ArquivosPdf() { return g_arquivosPdf; }

QStringList Printers::Nomes() { return g_lista ? g_lista() : QPrinterInfo::availablePrinterNames(); }
int Printers::Count() { return int(Nomes().size()); }
QString Printers::DeviceName(int i) {
    const QStringList n = Nomes();
    if (i < 0 || i >= n.size()) Levanta_Erro(9, QStringLiteral("Subscrito fora do intervalo."));
    return n[i];
}
void Printers::DefineLista(std::function<QStringList()> lista) { g_lista = std::move(lista); }

Printer& Impressora() {
    static Printer p;
    return p;
}

void Define_Impressora(const QString& deviceName) {
    Printer& p = Impressora();
    // A document left open on the previous printer goes to that printer.
    if (p.Imprimindo()) p.EndDoc();
    p.nome_ = deviceName;
}
