// The cells of the workbook editor: addresses, reading a cell as it shows,
// writing numbers, texts and dates in place, and the date style.
#include "platform/PlanilhaInterna.h"
#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstring>
#include <set>
#include <string_view>

using namespace Planilha_Interna;

namespace Planilha_Interna {

namespace {
[[noreturn]] void Endereco_Invalido(const QString& celula) {
    Falha(1004, QStringLiteral("Endereço de célula inválido: ") + celula + QLatin1Char('.'));
}
}  // namespace

Endereco Le_Endereco(const QString& celula) {
    Endereco e;
    int i = 0;
    const int n = int(celula.size());
    if (i < n && celula[i] == QLatin1Char('$')) ++i;
    const int inicioLetras = i;
    while (i < n && celula[i] >= QLatin1Char('A') && celula[i] <= QLatin1Char('Z')) {
        e.coluna = e.coluna * 26 + (celula[i].unicode() - 'A' + 1);
        if (e.coluna > MaxColuna) Endereco_Invalido(celula);
        ++i;
    }
    if (i == inicioLetras) Endereco_Invalido(celula);
    if (i < n && celula[i] == QLatin1Char('$')) ++i;
    const int inicioDigitos = i;
    while (i < n && celula[i].isDigit() && celula[i].unicode() < 128) {
        e.linha = e.linha * 10 + (celula[i].unicode() - '0');
        if (e.linha > MaxLinha) Endereco_Invalido(celula);
        ++i;
    }
    if (i == inicioDigitos || i != n || e.linha < 1) Endereco_Invalido(celula);
    return e;
}

std::string Letras_Coluna(int coluna) {
    std::string letras;
    for (int c = coluna; c > 0; c = (c - 1) / 26) letras.insert(letras.begin(), char('A' + (c - 1) % 26));
    return letras;
}

std::string Texto_Endereco(const Endereco& e) { return Letras_Coluna(e.coluna) + std::to_string(e.linha); }

int Coluna_De(const char* r) {
    int coluna = 0;
    for (; *r; ++r) {
        if (*r == '$') continue;
        if (*r < 'A' || *r > 'Z') break;
        coluna = coluna * 26 + (*r - 'A' + 1);
        if (coluna > MaxColuna) return -1;
    }
    return coluna;
}

namespace {
// 0 when it has none, or one past the last row.
int Linha_De(const char* r) {
    while (*r && !(*r >= '0' && *r <= '9')) ++r;
    int linha = 0;
    for (; *r >= '0' && *r <= '9'; ++r) {
        linha = linha * 10 + (*r - '0');
        if (linha > MaxLinha) return 0;
    }
    return linha;
}
}  // namespace

bool Le_Intervalo(const char* ref, Endereco& de, Endereco& ate) {
    const char* dois = std::strchr(ref, ':');
    de = {Coluna_De(ref), Linha_De(ref)};
    ate = dois ? Endereco{Coluna_De(dois + 1), Linha_De(dois + 1)} : de;
    return de.coluna > 0 && de.linha > 0 && ate.coluna > 0 && ate.linha > 0;
}

Endereco Fim_Da_Formula(std::string_view tipo, std::string_view ref, const Endereco& e) {
    if (tipo != "array" && tipo != "dataTable") return e;
    Endereco de, ate;
    if (!Le_Intervalo(std::string(ref).c_str(), de, ate)) return e;
    return {std::max(e.coluna, ate.coluna), std::max(e.linha, ate.linha)};
}

}  // namespace Planilha_Interna

namespace {
using Parte = Planilha_Interna::Parte;

// Characters XML cannot carry (the controls, U+FFFE and U+FFFF), and a
// carriage return, which a reader would take for a line feed.
bool Escapado(QChar c) {
    return (c.unicode() < 0x20 && c.unicode() != 9 && c.unicode() != 10) || c.unicode() >= 0xFFFE;
}

// Whether `texto` holds at `i` an escape of the file format, "_xHHHH_";
// `codigo` receives the character's code. `escrito`: the text as it will
// be written, where a character written escaped starts with "_".
bool Escape_Em(const QString& texto, qsizetype i, ushort& codigo, bool escrito = false) {
    if (i + 6 >= texto.size() || texto[i] != QLatin1Char('_') || texto[i + 1] != QLatin1Char('x')) return false;
    if (texto[i + 6] != QLatin1Char('_') && !(escrito && Escapado(texto[i + 6]))) return false;
    codigo = 0;
    for (qsizetype k = i + 2; k < i + 6; ++k) {
        const ushort u = texto[k].unicode();
        const int d = u >= '0' && u <= '9'   ? u - '0'
                      : u >= 'a' && u <= 'f' ? u - 'a' + 10
                      : u >= 'A' && u <= 'F' ? u - 'A' + 10
                                             : -1;
        if (d < 0) return false;
        codigo = ushort(codigo * 16 + d);
    }
    return true;
}

// The text of a string item: its own text, or its runs' texts, without
// the phonetic guides; each "_xHHHH_" is the character it stands for.
QString Texto_Item(const pugi::xml_node& item, const Parte& p) {
    const std::string t = p.el("t"), r = p.el("r");
    std::string texto;
    for (const pugi::xml_node filho : item.children()) {
        if (t == filho.name()) texto += filho.text().get();
        else if (r == filho.name()) texto += filho.child(t.c_str()).text().get();
    }
    QString s = QString::fromUtf8(texto);
    if (!s.contains(QLatin1String("_x"))) return s;
    QString lido;
    lido.reserve(s.size());
    for (qsizetype i = 0; i < s.size(); ++i) {
        ushort codigo = 0;
        if (Escape_Em(s, i, codigo)) {
            lido += QChar(codigo);
            i += 6;
        } else {
            lido += s[i];
        }
    }
    return lido;
}

// A text the way the file format writes strings: those characters as
// "_xHHHH_", and an underscore that would start such an escape in the
// text written escaped itself, as "_x005F_".
std::string Texto_Para_Arquivo(const QString& texto) {
    QString r;
    r.reserve(texto.size());
    for (qsizetype i = 0; i < texto.size(); ++i) {
        const QChar c = texto[i];
        ushort codigo = 0;
        if (Escapado(c))
            r += QStringLiteral("_x") + QString::number(c.unicode(), 16).rightJustified(4, QLatin1Char('0')).toUpper() +
                 QLatin1Char('_');
        else if (Escape_Em(texto, i, codigo, true))
            r += QStringLiteral("_x005F_");
        else
            r += c;
    }
    return r.toStdString();
}

// Built-in formats that show a date (with or without the time).
bool Formato_Interno_De_Data(int id) {
    return (id >= 14 && id <= 17) || id == 22 || (id >= 27 && id <= 36) || (id >= 50 && id <= 58);
}

// Whether a format code shows a day or a year: quoted texts, bracketed
// parts ("[$-416]", "[Red]") and escaped characters do not count. A code
// with only "m" and "s" is a time.
bool Codigo_De_Data(const char* codigo) {
    for (const char* c = codigo; *c; ++c) {
        switch (*c) {
        case '"':
            for (++c; *c && *c != '"'; ++c) {}
            if (!*c) return false;
            break;
        case '[':
            for (++c; *c && *c != ']'; ++c) {}
            if (!*c) return false;
            break;
        case '\\':
        case '_':
        case '*':
            if (!*++c) return false;
            break;
        case 'd': case 'D': case 'y': case 'Y': return true;
        default: break;
        }
    }
    return false;
}

const char* const FormatoData = "dd/mm/yyyy";
}  // namespace

// ---------------------------------------------------------------------------
// Finding and making cells

pugi::xml_node Planilha::Dados::Celula(Folha& f, const Endereco& e, bool cria) {
    Parte& p = *f.parte;
    pugi::xml_node linha;
    if (auto it = f.linhas.find(e.linha); it != f.linhas.end()) {
        linha = it->second;
    } else {
        if (!cria) return {};
        const auto depois = f.linhas.upper_bound(e.linha);
        linha = depois == f.linhas.end() ? f.dados.append_child(p.el("row"))
                                          : f.dados.insert_child_before(p.el("row"), depois->second);
        linha.append_attribute("r") = e.linha;
        f.linhas.emplace(e.linha, linha);
    }
    const char* const nomeCelula = p.el("c");
    pugi::xml_node antesDe;
    // Cells are never removed, so the one last found is still in its place.
    const bool adiante = f.ultima && f.ondeUltima.linha == e.linha && f.ondeUltima.coluna <= e.coluna;
    for (pugi::xml_node c = adiante ? f.ultima : linha.child(nomeCelula); c; c = c.next_sibling(nomeCelula)) {
        const int col = Coluna_De(c.attribute("r").value());
        if (col == e.coluna) {
            f.ultima = c;
            f.ondeUltima = e;
            return c;
        }
        if (col > e.coluna) {
            antesDe = c;
            break;
        }
    }
    if (!cria) return {};
    pugi::xml_node c = antesDe ? linha.insert_child_before(nomeCelula, antesDe) : linha.append_child(nomeCelula);
    c.append_attribute("r") = Texto_Endereco(e).c_str();
    // A new cell looks like its row, or else like its column.
    const char* custom = linha.attribute("customFormat").value();
    const char* estilo = nullptr;
    if (linha.attribute("s") && (std::strcmp(custom, "1") == 0 || std::strcmp(custom, "true") == 0)) {
        estilo = linha.attribute("s").value();
    } else {
        for (const pugi::xml_node col : p.raiz().child(p.el("cols")).children(p.el("col")))
            if (col.attribute("min").as_int() <= e.coluna && e.coluna <= col.attribute("max").as_int() && col.attribute("style"))
                estilo = col.attribute("style").value();
    }
    if (estilo) c.append_attribute("s") = estilo;
    // The used range grows to take it in.
    if (pugi::xml_node dim = p.raiz().child(p.el("dimension"))) {
        Endereco de, ate;
        if (Le_Intervalo(dim.attribute("ref").value(), de, ate)) {
            de = {std::min(de.coluna, e.coluna), std::min(de.linha, e.linha)};
            ate = {std::max(ate.coluna, e.coluna), std::max(ate.linha, e.linha)};
            dim.attribute("ref") = (Texto_Endereco(de) + ":" + Texto_Endereco(ate)).c_str();
        }
    }
    return c;
}

const QString& Planilha::Dados::Compartilhado(long indice) {
    if (!textosLidos) {
        if (!textos.empty()) {
            if (Parte* p = Parte_Se_Houver(textos))
                for (const pugi::xml_node si : p->raiz().children(p->el("si"))) compartilhados.push_back(Texto_Item(si, *p));
        }
        textosLidos = true;
    }
    if (indice < 0 || size_t(indice) >= compartilhados.size()) Nao_E_Planilha(caminho);
    return compartilhados[size_t(indice)];
}

QVariant Planilha::Dados::Valor(Folha& f, const pugi::xml_node& c, const QString& celula) {
    if (!c) return {};
    const Parte& p = *f.parte;
    const std::string_view tipo = c.attribute("t").value();
    if (tipo == "inlineStr") return Texto_Item(c.child(p.el("is")), p);
    const pugi::xml_node v = c.child(p.el("v"));
    const bool formula = bool(c.child(p.el("f")));
    // A formula's value is kept beside it; openpyxl writes an empty one,
    // which only a text result may be.
    const bool semValor = !v || (!*v.text().get() && tipo != "str" && tipo != "s");
    if (semValor) {
        if (formula)
            Falha(1004, QStringLiteral("A célula ") + celula + QStringLiteral(" da folha \"") + f.nome +
                            QStringLiteral("\" tem uma fórmula sem valor calculado. Abra a planilha na sua planilha "
                                           "eletrônica, salve-a e tente novamente."));
        return {};
    }
    const char* texto = v.text().get();
    if (tipo == "s") return Compartilhado(std::strtol(texto, nullptr, 10));
    if (tipo == "str" || tipo == "e" || tipo == "d") return QString::fromUtf8(texto);
    if (tipo == "b") return std::strcmp(texto, "1") == 0 || std::strcmp(texto, "true") == 0;
    double numero = 0;
    const char* fim = texto + std::strlen(texto);
    const auto [resto, erro] = std::from_chars(texto, fim, numero);
    if (erro != std::errc() || resto != fim) {
        if (*texto) Nao_E_Planilha(caminho);
        return {};
    }
    return numero;
}

// ---------------------------------------------------------------------------
// Writing

pugi::xml_node Planilha::Dados::Para_Escrever(Folha& f, const QString& celula, bool cria) {
    const Endereco e = Le_Endereco(celula);
    // An array formula or a data table fills its block as a whole, from
    // its first cell: replacing that would leave the others without their
    // formula, and any other cell of the block shows the formula's value
    // whatever it holds of its own, emptiness too.
    for (const auto& [de, ate] : f.matrizes) {
        if (e.coluna < de.coluna || e.coluna > ate.coluna || e.linha < de.linha || e.linha > ate.linha) continue;
        if (e.coluna == de.coluna && e.linha == de.linha) Nao_Substitui(f, celula);
        Falha(1004, QStringLiteral("A célula ") + celula + QStringLiteral(" da folha \"") + f.nome + QStringLiteral("\" faz parte de ") +
                        QString::fromStdString(Texto_Endereco(de) + ":" + Texto_Endereco(ate)) +
                        QStringLiteral(", que uma fórmula preenche como um todo, e não pode ser substituída."));
    }
    pugi::xml_node c = Celula(f, e, cria);
    if (c) {
        Limpa_Celula(f, c, celula);
        f.escritas.push_back(e);
    }
    return c;
}

void Planilha::Dados::Limpa_Celula(Folha& f, pugi::xml_node c, const QString& celula) {
    Parte& p = *f.parte;
    // A shared formula is written once, in its first cell, and the others
    // repeat it: it moves to the next of them first.
    if (const pugi::xml_node formula = c.child(p.el("f"));
        formula && std::strcmp(formula.attribute("t").value(), "shared") == 0 && formula.attribute("ref"))
        Passa_Compartilhada(f, c, formula, celula);
    // What the cell held: its formula, its value, its inline text, and the
    // attributes that describe them; its address and style stay.
    const char* const filhos[] = {p.el("f"), p.el("v"), p.el("is")};
    const char* const atributos[] = {"t", "cm", "vm", "ph"};
    const auto um_de = [](const char* nome, const auto& nomes) {
        return std::any_of(std::begin(nomes), std::end(nomes), [nome](const char* n) { return std::strcmp(nome, n) == 0; });
    };
    for (pugi::xml_node filho = c.first_child(); filho;) {
        const pugi::xml_node proximo = filho.next_sibling();
        if (um_de(filho.name(), filhos)) c.remove_child(filho);
        filho = proximo;
    }
    for (pugi::xml_attribute a = c.first_attribute(); a;) {
        const pugi::xml_attribute proximo = a.next_attribute();
        if (um_de(a.name(), atributos)) c.remove_attribute(a);
        a = proximo;
    }
    p.mudou = true;
}

void Planilha::Dados::Nao_Substitui(const Folha& f, const QString& celula) {
    Falha(1004, QStringLiteral("A célula ") + celula + QStringLiteral(" da folha \"") + f.nome +
                    QStringLiteral("\" tem uma fórmula que outras células repetem e não pode ser substituída."));
}

void Planilha::Dados::Passa_Compartilhada(Folha& f, pugi::xml_node c, pugi::xml_node formula, const QString& celula) {
    Parte& p = *f.parte;
    const std::string si = formula.attribute("si").value();
    const char* const nomeF = p.el("f");
    // The cells that repeat it, row by row and left to right, and the
    // highest group number of the sheet, for the groups made below.
    struct Membro {
        Endereco e;
        pugi::xml_node celula;
    };
    std::vector<Membro> membros;
    long long maiorSi = 0;
    for (const auto& [n, linha] : f.linhas) {
        for (pugi::xml_node outra = linha.child(p.el("c")); outra; outra = outra.next_sibling(p.el("c"))) {
            const pugi::xml_node fo = outra.child(nomeF);
            if (!fo || std::strcmp(fo.attribute("t").value(), "shared") != 0) continue;
            maiorSi = std::max(maiorSi, fo.attribute("si").as_llong());
            if (outra != c && si == fo.attribute("si").value())
                membros.push_back({{Coluna_De(outra.attribute("r").value()), n}, outra});
        }
    }
    const Endereco origem = {Coluna_De(c.attribute("r").value()), Linha_De(c.attribute("r").value())};
    // Each group starts at the first cell left and takes the cells right
    // of and below it; the others make the next group. A column or a row
    // filled from this cell is one group; a block, two.
    struct Grupo {
        std::vector<Membro> membros;
        Endereco ate;
        std::string texto;
    };
    std::vector<Grupo> grupos;
    while (!membros.empty()) {
        const Endereco inicio = membros.front().e;
        Grupo g{{}, inicio, {}};
        std::vector<Membro> resto;
        for (const Membro& m : membros) {
            if (m.e.coluna >= inicio.coluna && m.e.linha >= inicio.linha) {
                g.membros.push_back(m);
                g.ate = {std::max(g.ate.coluna, m.e.coluna), std::max(g.ate.linha, m.e.linha)};
            } else {
                resto.push_back(m);
            }
        }
        if (!Desloca_Formula(formula.text().get(), inicio.coluna - origem.coluna, inicio.linha - origem.linha, g.texto))
            Nao_Substitui(f, celula);
        grupos.push_back(std::move(g));
        membros = std::move(resto);
    }
    // Only once every group's formula is known is anything changed.
    for (size_t k = 0; k < grupos.size(); ++k) {
        const Grupo& g = grupos[k];
        const std::string numero = k == 0 ? si : std::to_string(maiorSi + static_cast<long long>(k));
        pugi::xml_node primeira = g.membros.front().celula;
        const pugi::xml_node antiga = primeira.child(nomeF);
        pugi::xml_node nova = primeira.insert_copy_before(formula, antiga);
        primeira.remove_child(antiga);
        const Endereco de = g.membros.front().e;
        nova.attribute("ref") = (de.coluna == g.ate.coluna && de.linha == g.ate.linha
                                     ? Texto_Endereco(de)
                                     : Texto_Endereco(de) + ":" + Texto_Endereco(g.ate)).c_str();
        nova.attribute("si") = numero.c_str();
        nova.text().set(g.texto.c_str());
        for (size_t m = 1; m < g.membros.size(); ++m) g.membros[m].celula.child(nomeF).attribute("si") = numero.c_str();
    }
}

unsigned Planilha::Dados::Estilo_Para_Data(unsigned estilo) {
    if (estilos.empty()) return estilo;
    Parte* p = Parte_Se_Houver(estilos);
    if (!p) return estilo;
    if (auto it = estiloComData.find(estilo); it != estiloComData.end()) return it->second;
    pugi::xml_node raiz = p->raiz();
    pugi::xml_node xfs = raiz.child(p->el("cellXfs"));
    if (!xfs) return estilo;
    pugi::xml_node xf;
    unsigned n = 0;
    for (pugi::xml_node x = xfs.child(p->el("xf")); x; x = x.next_sibling(p->el("xf")), ++n)
        if (n == estilo) xf = x;
    if (!xf) return estilo;
    const int id = xf.attribute("numFmtId").as_int();
    pugi::xml_node formatos = raiz.child(p->el("numFmts"));
    if (Formato_Interno_De_Data(id)) return estilo;
    int idData = -1;
    std::set<long long> usados;
    for (const pugi::xml_node nf : formatos.children(p->el("numFmt"))) {
        const int i = nf.attribute("numFmtId").as_int();
        if (i == id && Codigo_De_Data(nf.attribute("formatCode").value())) return estilo;
        if (std::strcmp(nf.attribute("formatCode").value(), FormatoData) == 0) idData = i;
        usados.insert(nf.attribute("numFmtId").as_llong());
    }
    if (idData < 0) {
        if (!formatos) formatos = raiz.prepend_child(p->el("numFmts"));
        // The first number the workbook leaves free where its own formats
        // start; whatever numbers it claims, one of the first few is.
        idData = 164;
        while (usados.count(idData)) ++idData;
        pugi::xml_node nf = formatos.append_child(p->el("numFmt"));
        nf.append_attribute("numFmtId") = idData;
        nf.append_attribute("formatCode") = FormatoData;
        unsigned quantos = 0;
        for (const pugi::xml_node x : formatos.children(p->el("numFmt"))) quantos += x ? 1 : 0;
        pugi::xml_attribute conta = formatos.attribute("count");
        if (!conta) conta = formatos.append_attribute("count");
        conta = quantos;
    }
    // A copy of the cell's style with the date format: its font, fill and
    // borders stay.
    pugi::xml_node copia = xfs.append_copy(xf);
    if (!copia.attribute("numFmtId")) copia.append_attribute("numFmtId");
    copia.attribute("numFmtId") = idData;
    if (!copia.attribute("applyNumberFormat")) copia.append_attribute("applyNumberFormat");
    copia.attribute("applyNumberFormat") = "1";
    pugi::xml_attribute conta = xfs.attribute("count");
    if (!conta) conta = xfs.append_attribute("count");
    conta = n + 1;
    p->mudou = true;
    estiloComData.emplace(estilo, n);
    return n;
}

// ---------------------------------------------------------------------------
// The editor's cell calls

QVariant Planilha::Valor(const QString& folha, const QString& celula) const {
    Dados::Folha& f = d_->Le_Folha(folha);
    return d_->Valor(f, d_->Celula(f, Le_Endereco(celula), false), celula);
}

bool Planilha::Vazia(const QString& folha, const QString& celula, QVariant* valor) const {
    Dados::Folha& f = d_->Le_Folha(folha);
    const pugi::xml_node c = d_->Celula(f, Le_Endereco(celula), false);
    if (valor) *valor = QVariant();
    if (!c) return true;
    const QVariant v = d_->Valor(f, c, celula);
    if (valor) *valor = v;
    if (c.child(f.parte->el("f"))) return false;
    return !v.isValid() || (v.typeId() == QMetaType::QString && v.toString().isEmpty());
}

void Planilha::Numero(const QString& folha, const QString& celula, double valor) {
    if (!std::isfinite(valor)) Falha(6);
    Dados::Folha& f = d_->Le_Folha(folha);
    pugi::xml_node c = d_->Para_Escrever(f, celula, true);
    char texto[32];
    const auto r = std::to_chars(texto, texto + sizeof texto, valor);
    *r.ptr = '\0';
    c.append_child(f.parte->el("v")).text().set(texto);
}

void Planilha::Texto(const QString& folha, const QString& celula, const QString& texto) {
    Dados::Folha& f = d_->Le_Folha(folha);
    pugi::xml_node c = d_->Para_Escrever(f, celula, true);
    c.append_attribute("t") = "inlineStr";
    pugi::xml_node t = c.append_child(f.parte->el("is")).append_child(f.parte->el("t"));
    const std::string s = Texto_Para_Arquivo(texto);
    if (!s.empty() && (std::isspace(static_cast<unsigned char>(s.front())) || std::isspace(static_cast<unsigned char>(s.back())) ||
                       s.find_first_of("\n\t\r") != std::string::npos))
        t.append_attribute("xml:space") = "preserve";
    t.text().set(s.c_str());
}

void Planilha::Data(const QString& folha, const QString& celula, const QDate& data) {
    if (!data.isValid()) Falha(13);
    Dados::Folha& f = d_->Le_Folha(folha);
    pugi::xml_node c = d_->Para_Escrever(f, celula, true);
    const unsigned estilo = d_->Estilo_Para_Data(c.attribute("s").as_uint());
    if (estilo != c.attribute("s").as_uint() || c.attribute("s")) {
        if (!c.attribute("s")) c.append_attribute("s");
        c.attribute("s") = estilo;
    }
    // Days since the workbook's day zero: 30 December 1899, as every
    // spreadsheet program counts them, or 1 January 1904.
    const qint64 serial = (d_->data1904 ? QDate(1904, 1, 1) : QDate(1899, 12, 30)).daysTo(data);
    c.append_child(f.parte->el("v")).text().set(static_cast<long long>(serial));
}

void Planilha::Esvazia(const QString& folha, const QString& celula) {
    d_->Para_Escrever(d_->Le_Folha(folha), celula, false);
}
