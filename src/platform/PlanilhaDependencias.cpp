// The values a save takes away from formulas. A spreadsheet program that
// does not recalculate on opening (LibreOffice, at its defaults, for this
// format) shows each formula's value as last saved, and calculates only
// those that have none: every formula whose result can depend on a cell
// written here loses its value, and every other keeps it, for the program
// reads some of them (a congregation's code made by a formula) in later
// runs.
//
// Dependence follows the formulas' references, on the same sheet or
// others, through other formulas and defined names (a name inside a
// workbook's name, which any sheet may use, through every definition it
// may mean); a formula that reaches cells its text cannot tell (INDIRECT,
// OFFSET, another workbook, a table, a name not found) depends on every
// cell.
//
// The sheets not otherwise read are scanned as text for their formulas:
// building their trees would cost more than the rest of the save. The
// scan only narrows the work: a sheet whose text it does not follow is
// read whole instead, and a value is taken only from a cell that the
// sheet's tree shows to hold a formula.
#include "platform/PlanilhaInterna.h"
#include <QString>
#include <algorithm>
#include <charconv>
#include <cstring>
#include <unordered_map>

using namespace Planilha_Interna;

namespace {

// A formula cell as its sheet holds it.
struct Celula_Formula {
    Endereco e;
    Endereco ate;      // the far corner of an array formula's or data table's cells
    std::string tipo;  // "shared", "array", "dataTable" or nothing
    std::string si;    // a shared formula's group
    std::string texto;
};

// ---------------------------------------------------------------------------
// A sheet's formulas from its text

// The text of an element with its entities read; false for an entity XML
// does not define.
bool Decodifica(std::string_view bruto, std::string& saida) {
    saida.clear();
    size_t i = 0;
    while (i < bruto.size()) {
        const size_t amp = bruto.find('&', i);
        saida.append(bruto.substr(i, amp - i));
        if (amp == std::string_view::npos) break;
        const size_t fim = bruto.find(';', amp);
        if (fim == std::string_view::npos) return false;
        const std::string_view nome = bruto.substr(amp + 1, fim - amp - 1);
        if (nome == "lt") saida += '<';
        else if (nome == "gt") saida += '>';
        else if (nome == "amp") saida += '&';
        else if (nome == "quot") saida += '"';
        else if (nome == "apos") saida += '\'';
        else if (nome.size() > 1 && nome[0] == '#') {
            const bool hexa = nome[1] == 'x';
            unsigned codigo = 0;
            const auto [fimNum, erro] = std::from_chars(nome.data() + (hexa ? 2 : 1), nome.data() + nome.size(), codigo, hexa ? 16 : 10);
            if (erro != std::errc() || fimNum != nome.data() + nome.size() || codigo == 0 || codigo > 0x10FFFF) return false;
            const char32_t caractere = codigo;
            saida += QString::fromUcs4(&caractere, 1).toStdString();
        } else {
            return false;
        }
        i = fim + 1;
    }
    return true;
}

// The attributes of a start tag that the scan wants.
struct Marca {
    std::string_view nome;
    std::string_view r, t, si, ref;
    bool vazia = false;  // "<f/>"
};

bool Espaco(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

// The start tag from `p` (after its "<"); `p` ends after its ">". False
// when it is not well formed.
bool Le_Marca(const char*& p, const char* fim, Marca& m) {
    const char* q = p;
    while (q < fim && !Espaco(*q) && *q != '>' && *q != '/') ++q;
    m = {};
    m.nome = std::string_view(p, size_t(q - p));
    for (;;) {
        while (q < fim && Espaco(*q)) ++q;
        if (q >= fim) return false;
        if (*q == '>') {
            p = q + 1;
            return true;
        }
        if (*q == '/') {
            if (q + 1 >= fim || q[1] != '>') return false;
            m.vazia = true;
            p = q + 2;
            return true;
        }
        const char* inicio = q;
        while (q < fim && *q != '=' && !Espaco(*q)) ++q;
        const std::string_view atributo(inicio, size_t(q - inicio));
        while (q < fim && Espaco(*q)) ++q;
        if (q >= fim || *q != '=') return false;
        ++q;
        while (q < fim && Espaco(*q)) ++q;
        if (q >= fim || (*q != '"' && *q != '\'')) return false;
        const char aspa = *q++;
        const char* valor = q;
        q = static_cast<const char*>(std::memchr(q, aspa, size_t(fim - q)));
        if (!q) return false;
        const std::string_view v(valor, size_t(q - valor));
        ++q;
        if (v.find('&') != std::string_view::npos) return false;
        std::string_view* const lido = atributo == "r"     ? &m.r
                                       : atributo == "t"   ? &m.t
                                       : atributo == "si"  ? &m.si
                                       : atributo == "ref" ? &m.ref
                                                           : nullptr;
        // Given twice, which XML forbids, the parsed tree reads the first
        // and this reading would take the last: it is not followed.
        if (lido && lido->data()) return false;
        if (lido) *lido = v;
    }
}

// Where `abre` ("<f", "<x:row") is next in `texto` from `de`: found by its
// last letter, rarer in a sheet than "<".
size_t Procura(std::string_view texto, std::string_view abre, size_t de) {
    const size_t antes = abre.size() - 1;
    for (size_t k = de + antes; k < texto.size();) {
        const void* achado = std::memchr(texto.data() + k, abre.back(), texto.size() - k);
        if (!achado) break;
        k = size_t(static_cast<const char*>(achado) - texto.data());
        if (texto.compare(k - antes, antes, abre, 0, antes) == 0) return k - antes;
        ++k;
    }
    return std::string_view::npos;
}

// Where the elements of a worksheet's text start, after its declaration;
// npos when the text holds what the scan does not follow: another encoding
// than UTF-8 (declared, or told by its first bytes), a comment, a CDATA
// section, a processing instruction or a document type, whose contents the
// scan would take for markup or whose markup it would miss.
size_t Inicio_Dos_Elementos(std::string_view xml) {
    size_t inicio = xml.substr(0, 3) == "\xEF\xBB\xBF" ? 3 : 0;
    // UTF-16 and UTF-32, with their order mark or without, start with a
    // zero byte, or with the mark of UTF-16.
    const std::string_view cabeca = xml.substr(inicio, 4);
    if (cabeca.find('\0') != std::string_view::npos || xml.substr(0, 2) == "\xFE\xFF" || xml.substr(0, 2) == "\xFF\xFE")
        return std::string_view::npos;
    if (xml.compare(inicio, 5, "<?xml") == 0) {
        const size_t fim = xml.find("?>", inicio);
        if (fim == std::string_view::npos) return fim;
        const std::string_view declaracao = xml.substr(inicio, fim - inicio);
        if (const size_t e = declaracao.find("encoding"); e != std::string_view::npos) {
            size_t q = e + 8;
            while (q < declaracao.size() && (Espaco(declaracao[q]) || declaracao[q] == '=')) ++q;
            if (q >= declaracao.size()) return std::string_view::npos;
            const size_t fimValor = declaracao.find(declaracao[q], q + 1);
            const std::string_view valor = declaracao.substr(q + 1, fimValor - q - 1);
            if (fimValor == std::string_view::npos || !Igual_Sem_Caixa(valor, "UTF-8"))
                return std::string_view::npos;
        }
        inicio = fim + 2;
    }
    // "<!" and "<?" found by their second character, which the elements'
    // text holds escaped and their names never.
    for (const char marca : {'!', '?'}) {
        const char* const fim = xml.data() + xml.size();
        for (const char* p = xml.data() + inicio; (p = static_cast<const char*>(std::memchr(p, marca, size_t(fim - p)))); ++p)
            if (p > xml.data() + inicio && p[-1] == '<') return std::string_view::npos;
    }
    return inicio;
}

// A part's root element as its text holds it: its start tag from `de` to
// `ate` (after its ">"), and its prefix without the colon.
struct Raiz {
    size_t de = 0, ate = 0;
    std::string_view prefixo;
};

// False when the text is not one the scan follows (Inicio_Dos_Elementos)
// or the root's start tag not one it reads.
bool Le_Raiz(std::string_view xml, Raiz& raiz) {
    const size_t elementos = Inicio_Dos_Elementos(xml);
    if (elementos == std::string_view::npos) return false;
    raiz.de = xml.find('<', elementos);
    if (raiz.de == std::string_view::npos) return false;
    const char* p = xml.data() + raiz.de + 1;
    Marca m;
    if (!Le_Marca(p, xml.data() + xml.size(), m)) return false;
    raiz.ate = size_t(p - xml.data());
    const size_t dois = m.nome.find(':');
    raiz.prefixo = dois == std::string_view::npos ? std::string_view() : m.nome.substr(0, dois);
    return true;
}

// Whether no namespace declaration of the text, from its root's start tag
// on, puts an element of the root's namespace under another prefix than
// the root's, or that prefix on another namespace. A declaration is told
// by its text alone: an attribute's value or an element's text that reads
// as one only costs a look at each element of the parsed tree.
bool Prefixo_Da_Raiz_Basta(std::string_view xml, const Raiz& raiz) {
    struct Declaracao {
        std::string_view prefixo, espaco;
        bool naRaiz;
    };
    std::vector<Declaracao> declaracoes;
    for (size_t k = xml.find("xmlns", raiz.de); k != std::string_view::npos; k = xml.find("xmlns", k + 1)) {
        if (!Espaco(xml[k - 1])) continue;
        size_t q = k + 5;
        std::string_view declarado;
        if (q < xml.size() && xml[q] == ':') {
            const size_t inicio = ++q;
            while (q < xml.size() && !Espaco(xml[q]) && xml[q] != '=') ++q;
            declarado = xml.substr(inicio, q - inicio);
        }
        while (q < xml.size() && Espaco(xml[q])) ++q;
        if (q >= xml.size() || xml[q] != '=') continue;
        for (++q; q < xml.size() && Espaco(xml[q]); ++q) {}
        if (q >= xml.size() || (xml[q] != '"' && xml[q] != '\'')) continue;
        const size_t fim = xml.find(xml[q], q + 1);
        if (fim == std::string_view::npos) return false;
        const std::string_view espaco = xml.substr(q + 1, fim - q - 1);
        if (espaco.find('&') != std::string_view::npos) return false;
        declaracoes.push_back({declarado, espaco, k < raiz.ate});
    }
    std::string_view espacoRaiz;
    for (const Declaracao& d : declaracoes) {
        if (d.naRaiz && d.prefixo == raiz.prefixo) {
            espacoRaiz = d.espaco;
            break;
        }
    }
    return std::all_of(declaracoes.begin(), declaracoes.end(),
                       [&](const Declaracao& d) { return (d.prefixo == raiz.prefixo) == (d.espaco == espacoRaiz); });
}

// The formula cells of a worksheet's text; false when the text holds what
// this reading does not follow (see Le_Raiz and Prefixo_Da_Raiz_Basta; a
// formula's cell without its address, or one whose row says another row),
// and the sheet is then read whole. A formula is its cell's first child,
// so the cell's start tag is the one right before it.
bool Formulas_Do_Texto(std::string_view xml, std::vector<Celula_Formula>& saida) {
    // The root element's prefix, which the cells' elements share.
    Raiz raiz;
    if (!Le_Raiz(xml, raiz) || !Prefixo_Da_Raiz_Basta(xml, raiz)) return false;
    const std::string prefixo = raiz.prefixo.empty() ? std::string() : std::string(raiz.prefixo) + ':';

    // Only cells hold an element of this name: the others of the format
    // that start so ("formula", "filterColumn") are longer, and those of
    // extensions carry their own prefix.
    const std::string abreF = "<" + prefixo + "f";
    const std::string abreLinha = "<" + prefixo + "row";
    const std::string_view dados = xml;
    // The row a cell lies in: the last row's start tag before it, followed
    // from one cell to the next.
    size_t lidoAte = raiz.ate;
    long long linha = -1;
    const auto linha_de = [&](size_t celula) {
        for (;;) {
            const size_t pos = Procura(dados.substr(0, celula), abreLinha, lidoAte);
            if (pos == std::string_view::npos) break;
            const char* p = dados.data() + pos + 1;
            Marca m;
            if (!Le_Marca(p, dados.data() + celula, m)) return -1LL;
            lidoAte = size_t(p - dados.data());
            if (m.nome != std::string_view(abreLinha).substr(1)) continue;
            linha = -1;
            long long n = 0;
            const auto [fimNum, erro] = std::from_chars(m.r.data(), m.r.data() + m.r.size(), n);
            if (!m.r.empty() && erro == std::errc() && fimNum == m.r.data() + m.r.size()) linha = n;
        }
        lidoAte = celula;
        return linha;
    };
    Marca m;
    for (size_t f = Procura(dados, abreF, raiz.ate); f != std::string_view::npos; f = Procura(dados, abreF, f + 1)) {
        const size_t depois = f + abreF.size();
        if (depois >= dados.size() || (!Espaco(dados[depois]) && dados[depois] != '>' && dados[depois] != '/')) continue;
        // The cell's start tag, with nothing but blanks after it.
        size_t c = f;
        while (c > 0 && Espaco(dados[c - 1])) --c;
        if (c == 0 || dados[c - 1] != '>') return false;
        c = dados.rfind('<', c - 1);
        if (c == std::string_view::npos || c < lidoAte) return false;
        const char* p = dados.data() + c + 1;
        if (!Le_Marca(p, dados.data() + f, m) || m.vazia || m.nome.substr(0, prefixo.size()) != prefixo ||
            m.nome.substr(prefixo.size()) != "c")
            return false;
        Celula_Formula cf;
        Endereco ate;
        if (!Le_Intervalo(std::string(m.r).c_str(), cf.e, ate) || linha_de(c) != cf.e.linha) return false;
        p = dados.data() + f + 1;
        if (!Le_Marca(p, dados.data() + dados.size(), m)) return false;
        cf.tipo = std::string(m.t);
        cf.si = std::string(m.si);
        cf.ate = Fim_Da_Formula(cf.tipo, m.ref, cf.e);
        if (!m.vazia) {
            const char* q = static_cast<const char*>(std::memchr(p, '<', size_t(dados.data() + dados.size() - p)));
            if (!q || q[1] != '/') return false;
            if (!Decodifica(std::string_view(p, size_t(q - p)), cf.texto)) return false;
        }
        saida.push_back(std::move(cf));
    }
    return true;
}

// The formula cells of a sheet read whole.
void Formulas_Da_Arvore(const Folha& folha, std::vector<Celula_Formula>& saida) {
    const Parte& p = *folha.parte;
    const char* const nomeC = p.el("c");
    const char* const nomeF = p.el("f");
    for (const auto& [n, linha] : folha.linhas) {
        for (pugi::xml_node c = linha.child(nomeC); c; c = c.next_sibling(nomeC)) {
            const pugi::xml_node f = c.child(nomeF);
            if (!f) continue;
            Celula_Formula cf;
            cf.e = {Coluna_De(c.attribute("r").value()), n};
            cf.tipo = f.attribute("t").value();
            cf.si = f.attribute("si").value();
            cf.ate = Fim_Da_Formula(cf.tipo, f.attribute("ref").value(), cf.e);
            cf.texto = f.text().get();
            saida.push_back(std::move(cf));
        }
    }
}

// ---------------------------------------------------------------------------
// The workbook's dependences

// A block of cells of one sheet.
struct Alvo {
    int folha;
    int c1, r1, c2, r2;
    bool Contem(int c, int r) const { return c1 <= c && c <= c2 && r1 <= r && r <= r2; }
};

struct Formula {
    int folha;
    Endereco e, ate;
    bool suja = false;
};

// What a reference or a name reaches.
struct Alcance {
    std::vector<Alvo> alvos;
    bool indeterminado = false;
};

class Dependentes {
public:
    explicit Dependentes(Planilha::Dados& d) : d_(d), indices_(d.abas.size()) {}

    void Le_Nomes();
    void Le_Folha(int folha);
    // Marks the formulas reached from the written cells.
    void Propaga();
    void Retira_Valores();

private:
    struct Nome {
        QString nome;  // case-folded
        int folha;     // the sheet it belongs to, or -1 for the workbook's
        std::string texto;
        Alcance alcance;
        int estado = 0;  // 0 not read, 1 being read, 2 read
    };
    struct Indice {
        std::unordered_map<unsigned long long, std::vector<int>> celulas;
        std::vector<std::pair<Alvo, int>> faixas;
    };
    static unsigned long long Chave(int c, int r) { return (static_cast<unsigned long long>(c) << 32) | unsigned(r); }

    int Folha_Por_Nome(const std::string& nome);
    // The sheets `folha` ("Dados", "Jan:Dez") names, from the sheet
    // `propria`; false when one is not found.
    bool Folhas(const std::string& folha, int propria, int& de, int& ate);
    // The cells that `dep`, read from a formula of the sheet `folha` (-1:
    // of a workbook's name), reaches from a cell `dc` columns and `dr` rows
    // away from the one it was written for, appended to `alvos`. `deNome`:
    // a defined name's own formula, whose relative references depend on
    // where it is used.
    void Acrescenta(const Dependencias& dep, int folha, int dc, int dr, bool deNome, std::vector<Alvo>& alvos,
                    bool& indeterminado, int profundidade);
    // What the name `nome` ("Dados!Taxa": `qualificador` "Dados") reaches,
    // used in a formula of the sheet `folha` (-1: of a workbook's name).
    void Acrescenta_Nome(const std::string& qualificador, const std::string& nome, int folha, int profundidade,
                         std::vector<Alvo>& alvos, bool& indeterminado);
    void Registra(const Alvo* de, const Alvo* ate, bool indeterminado, int formula);
    void Marca(int formula);

    Planilha::Dados& d_;
    std::vector<Nome> nomes_;
    std::unordered_map<std::string, int> folhasPorNome_;
    std::vector<Formula> formulas_;
    std::vector<Indice> indices_;
    std::vector<std::pair<int, Alvo>> fila_;  // blocks whose values change, to be followed
    std::vector<int> indeterminadas_;
};

int Dependentes::Folha_Por_Nome(const std::string& nome) {
    if (const auto it = folhasPorNome_.find(nome); it != folhasPorNome_.end()) return it->second;
    int r = -1;
    const QString procurado = QString::fromUtf8(nome);
    for (size_t i = 0; i < d_.abas.size(); ++i)
        if (d_.abas[i].nome.compare(procurado, Qt::CaseInsensitive) == 0) r = int(i);
    folhasPorNome_.emplace(nome, r);
    return r;
}

bool Dependentes::Folhas(const std::string& folha, int propria, int& de, int& ate) {
    if (folha.empty()) {
        de = ate = propria;
        return true;
    }
    const size_t dois = folha.find(':');
    de = Folha_Por_Nome(folha.substr(0, dois));
    ate = dois == std::string::npos ? de : Folha_Por_Nome(folha.substr(dois + 1));
    if (de < 0 || ate < 0) return false;
    if (de > ate) std::swap(de, ate);
    return true;
}

void Dependentes::Le_Nomes() {
    const Parte& wb = d_.Le_Parte(d_.livro);
    for (const pugi::xml_node n : wb.raiz().child(wb.el("definedNames")).children(wb.el("definedName"))) {
        const pugi::xml_attribute local = n.attribute("localSheetId");
        nomes_.push_back({QString::fromUtf8(n.attribute("name").value()).toCaseFolded(), local ? local.as_int() : -1,
                          n.text().get(), {}, 0});
    }
}

void Dependentes::Acrescenta_Nome(const std::string& qualificador, const std::string& nome, int folha, int profundidade,
                                  std::vector<Alvo>& alvos, bool& indeterminado) {
    const QString procurado = QString::fromUtf8(nome).toCaseFolded();
    std::vector<Nome*> definicoes;
    if (!qualificador.empty()) {
        int escopo = 0, ate = 0;
        if (Folhas(qualificador, folha, escopo, ate))
            for (Nome& n : nomes_)
                if (n.nome == procurado && n.folha == escopo) definicoes.push_back(&n);
    } else if (folha >= 0) {
        // The sheet's own name of that name, or else the workbook's.
        Nome* global = nullptr;
        for (Nome& n : nomes_) {
            if (n.nome != procurado) continue;
            if (n.folha == folha) definicoes = {&n};
            else if (n.folha < 0) global = &n;
        }
        if (definicoes.empty() && global) definicoes.push_back(global);
    } else {
        // Inside a workbook's name, which any sheet uses: the name means
        // the workbook's, or the one of whichever sheet has its own.
        for (Nome& n : nomes_)
            if (n.nome == procurado) definicoes.push_back(&n);
    }
    if (definicoes.empty()) indeterminado = true;
    for (Nome* n : definicoes) {
        if (n->estado == 1 || profundidade > 32) {
            indeterminado = true;
            continue;
        }
        if (n->estado == 0) {
            n->estado = 1;
            Dependencias dep;
            Le_Dependencias(n->texto, dep);
            Acrescenta(dep, n->folha, 0, 0, true, n->alcance.alvos, n->alcance.indeterminado, profundidade + 1);
            n->estado = 2;
        }
        indeterminado = indeterminado || n->alcance.indeterminado;
        alvos.insert(alvos.end(), n->alcance.alvos.begin(), n->alcance.alvos.end());
    }
}

void Dependentes::Acrescenta(const Dependencias& dep, int folha, int dc, int dr, bool deNome, std::vector<Alvo>& alvos,
                             bool& indeterminado, int profundidade) {
    if (dep.indeterminada) indeterminado = true;
    // The blocks the last reference reached, which an end joined to it
    // widens.
    size_t ultimos = alvos.size(), fimUltimos = alvos.size();
    for (const Referencia& r : dep.referencias) {
        if (!r.junta) ultimos = fimUltimos = alvos.size();
        // A name's reference without its sheet, or that moves with the
        // cell using it, reaches cells that depend on where it is used.
        if (deNome && (r.folha.empty() || !r.c1.ancorada || !r.r1.ancorada || !r.c2.ancorada || !r.r2.ancorada)) {
            indeterminado = true;
            continue;
        }
        int de = 0, ate = 0;
        if (!Folhas(r.folha, folha, de, ate)) {
            indeterminado = true;
            continue;
        }
        const auto move = [](const Parte_Ref& p, int passo) { return p.ancorada ? p.valor : p.valor + passo; };
        int c1 = move(r.c1, dc), c2 = move(r.c2, dc), r1 = move(r.r1, dr), r2 = move(r.r2, dr);
        // Moved off the sheet it is an error, and reaches nothing.
        if (std::min({c1, c2, r1, r2}) < 1 || std::max(c1, c2) > MaxColuna || std::max(r1, r2) > MaxLinha) continue;
        if (c1 > c2) std::swap(c1, c2);
        if (r1 > r2) std::swap(r1, r2);
        if (r.junta) {
            for (size_t k = ultimos; k < fimUltimos; ++k) {
                Alvo& a = alvos[k];
                a = {a.folha, std::min(a.c1, c1), std::min(a.r1, r1), std::max(a.c2, c2), std::max(a.r2, r2)};
            }
            continue;
        }
        for (int f = de; f <= ate; ++f) alvos.push_back({f, c1, r1, c2, r2});
        fimUltimos = alvos.size();
    }
    for (const auto& [qualificador, nome] : dep.nomes) Acrescenta_Nome(qualificador, nome, folha, profundidade, alvos, indeterminado);
}

void Dependentes::Registra(const Alvo* de, const Alvo* ate, bool indeterminado, int formula) {
    if (indeterminado) indeterminadas_.push_back(formula);
    for (const Alvo* a = de; a != ate; ++a) {
        const Alvo& alvo = *a;
        Indice& ix = indices_[size_t(alvo.folha)];
        if (alvo.c1 == alvo.c2 && alvo.r1 == alvo.r2) ix.celulas[Chave(alvo.c1, alvo.r1)].push_back(formula);
        else ix.faixas.push_back({alvo, formula});
    }
}

void Dependentes::Le_Folha(int folha) {
    const Planilha::Dados::Aba& aba = d_.abas[size_t(folha)];
    if (aba.parte.empty()) return;
    std::vector<Celula_Formula> lidas;
    const auto arvore = d_.folhas.find(aba.parte);
    bool lida = false;
    if (arvore == d_.folhas.end() && !d_.partes.count(Minusculas(aba.parte))) {
        const auto editada = d_.editadas.find(Minusculas(aba.parte));
        if (editada != d_.editadas.end()) {
            lida = Formulas_Do_Texto(editada->second, lidas);
        } else {
            const zip_int64_t i = d_.Indice(aba.parte);
            if (i < 0) return;
            lida = Formulas_Do_Texto(d_.Le_Entrada(i), lidas);
        }
        if (!lida) lidas.clear();
    }
    if (!lida) Formulas_Da_Arvore(d_.Carrega_Folha(aba.nome), lidas);

    // A shared formula is written in its group's first cell; the others
    // hold it moved by their distance from there.
    std::unordered_map<std::string, const Celula_Formula*> primeiras;
    for (const Celula_Formula& c : lidas)
        if (c.tipo == "shared" && !c.texto.empty()) primeiras.emplace(c.si, &c);
    // What each formula reaches, one after the other: formula k's from
    // inicios[k] to inicios[k + 1].
    std::vector<Alvo> alvos;
    std::vector<size_t> inicios;
    std::vector<bool> indeterminadas;
    inicios.reserve(lidas.size() + 1);
    indeterminadas.reserve(lidas.size());
    Dependencias dep;
    // A sheet that nothing was written in, whose formulas reach only its
    // own cells, has none that depends on a written cell.
    const auto escrita = d_.folhas.find(aba.parte);
    bool fechada = escrita == d_.folhas.end() || escrita->second->escritas.empty();
    for (const Celula_Formula& c : lidas) {
        inicios.push_back(alvos.size());
        bool indeterminada = false;
        if (c.tipo == "dataTable") {
            indeterminada = true;  // its input cells are not in a formula
        } else if (c.tipo == "shared" && c.texto.empty()) {
            const auto it = primeiras.find(c.si);
            if (it == primeiras.end()) {
                indeterminada = true;
            } else {
                Le_Dependencias(it->second->texto, dep);
                Acrescenta(dep, folha, c.e.coluna - it->second->e.coluna, c.e.linha - it->second->e.linha, false, alvos,
                           indeterminada, 0);
            }
        } else {
            Le_Dependencias(c.texto, dep);
            Acrescenta(dep, folha, 0, 0, false, alvos, indeterminada, 0);
        }
        indeterminadas.push_back(indeterminada);
        fechada = fechada && !indeterminada;
        for (size_t k = inicios.back(); fechada && k < alvos.size(); ++k) fechada = alvos[k].folha == folha;
    }
    inicios.push_back(alvos.size());
    if (fechada) return;
    for (size_t k = 0; k < lidas.size(); ++k) {
        const int id = int(formulas_.size());
        formulas_.push_back({folha, lidas[k].e, lidas[k].ate});
        Registra(alvos.data() + inicios[k], alvos.data() + inicios[k + 1], indeterminadas[k], id);
    }
}

void Dependentes::Marca(int formula) {
    Formula& f = formulas_[size_t(formula)];
    if (f.suja) return;
    f.suja = true;
    fila_.push_back({f.folha, {f.folha, f.e.coluna, f.e.linha, f.ate.coluna, f.ate.linha}});
}

void Dependentes::Propaga() {
    bool escrita = false;
    for (size_t i = 0; i < d_.abas.size(); ++i) {
        const auto it = d_.folhas.find(d_.abas[i].parte);
        if (it == d_.folhas.end()) continue;
        for (const Endereco& e : it->second->escritas) {
            fila_.push_back({int(i), {int(i), e.coluna, e.linha, e.coluna, e.linha}});
            escrita = true;
        }
    }
    if (!escrita) return;
    for (const int f : indeterminadas_) Marca(f);
    while (!fila_.empty()) {
        const auto [folha, b] = fila_.back();
        fila_.pop_back();
        Indice& ix = indices_[size_t(folha)];
        const long long area = static_cast<long long>(b.c2 - b.c1 + 1) * (b.r2 - b.r1 + 1);
        if (area <= static_cast<long long>(ix.celulas.size())) {
            for (int c = b.c1; c <= b.c2; ++c)
                for (int r = b.r1; r <= b.r2; ++r)
                    if (const auto it = ix.celulas.find(Chave(c, r)); it != ix.celulas.end())
                        for (const int f : it->second) Marca(f);
        } else {
            for (const auto& [chave, lista] : ix.celulas)
                if (b.Contem(int(chave >> 32), int(chave & 0xFFFFFFFFu)))
                    for (const int f : lista) Marca(f);
        }
        for (const auto& [faixa, f] : ix.faixas)
            if (faixa.c1 <= b.c2 && b.c1 <= faixa.c2 && faixa.r1 <= b.r2 && b.r1 <= faixa.r2) Marca(f);
    }
}

void Dependentes::Retira_Valores() {
    const auto retira = [](Parte& p, pugi::xml_node celula) {
        // The value kept in <v>, or a text kept inline, which a reader
        // would show as the formula's value all the same.
        for (const char* nome : {p.el("v"), p.el("is")}) {
            if (const pugi::xml_node valor = celula.child(nome)) {
                celula.remove_child(valor);
                p.mudou = true;
            }
        }
        // The type of a value no longer there: a text, a truth value or an
        // error.
        if (const pugi::xml_attribute t = celula.attribute("t")) {
            celula.remove_attribute(t);
            p.mudou = true;
        }
    };
    for (const Formula& f : formulas_) {
        if (!f.suja) continue;
        Folha& folha = d_.Carrega_Folha(d_.abas[size_t(f.folha)].nome);
        Parte& p = *folha.parte;
        // The sheet's tree has the last word: a cell it shows without a
        // formula keeps its value, whatever the scan of the text took it
        // for.
        const pugi::xml_node celula = d_.Celula(folha, f.e, false);
        const pugi::xml_node formula = celula.child(p.el("f"));
        if (!formula) continue;
        retira(p, celula);
        // An array formula's value is spread over the cells it fills, the
        // first one holding the formula: those the sheet holds, and no
        // other, are visited. None of them was written: a write into the
        // block is refused.
        const Endereco ate = Fim_Da_Formula(formula.attribute("t").value(), formula.attribute("ref").value(), f.e);
        if (ate.coluna == f.e.coluna && ate.linha == f.e.linha) continue;
        const char* const nomeC = p.el("c");
        for (auto linha = folha.linhas.lower_bound(f.e.linha); linha != folha.linhas.end() && linha->first <= ate.linha; ++linha) {
            for (pugi::xml_node c = linha->second.child(nomeC); c; c = c.next_sibling(nomeC)) {
                const int coluna = Coluna_De(c.attribute("r").value());
                if (coluna < f.e.coluna || coluna > ate.coluna || (coluna == f.e.coluna && linha->first == f.e.linha) ||
                    c.child(p.el("f")))
                    continue;
                retira(p, c);
            }
        }
    }
}

}  // namespace

bool Planilha_Interna::Prefixo_Da_Raiz_Basta(std::string_view xml) {
    Raiz raiz;
    return Le_Raiz(xml, raiz) && Prefixo_Da_Raiz_Basta(xml, raiz);
}

void Planilha::Dados::Retira_Valores_Dependentes() {
    Dependentes d(*this);
    d.Le_Nomes();
    for (size_t i = 0; i < abas.size(); ++i) d.Le_Folha(int(i));
    d.Propaga();
    d.Retira_Valores();
}
