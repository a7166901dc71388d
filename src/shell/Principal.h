#pragma once
// The program's start-up window: the MDI parent with the menu that opens
// every other form, and the ways the program ends.
#include "platform/Form.h"
#include <QAction>
#include <QMenu>
#include <functional>

class QMdiArea;
class QMenuBar;

class Principal : public Form {
    Q_OBJECT
public:
    Principal();
    ~Principal() override;
    static Principal* Atual();  // the one instance, or nullptr

    QMenuBar* Menu = nullptr;
    QMdiArea* Area = nullptr;

    // Menu bar, in order.
    QAction* Espaco = nullptr;
    QMenu* Cad_Apoio = nullptr;
    QAction* Par_Sis = nullptr;
    QAction* Agf_Fin = nullptr;
    QAction* Cad_Dep = nullptr;
    QAction* Tip_Hist = nullptr;
    QAction* Igr_Setor = nullptr;
    QAction* AtuBA = nullptr;
    QMenu* Oper = nullptr;
    QAction* Avi_Hoje = nullptr;
    QAction* Rem_Mat = nullptr;
    QAction* Set_Igr = nullptr;
    QAction* Liv_Cx = nullptr;
    QAction* Lan_Dep = nullptr;
    QMenu* Imp = nullptr;
    QAction* SelImp = nullptr;
    QAction* Env_Diz = nullptr;
    QAction* Diz_Rel = nullptr;
    QAction* Rec_Diz = nullptr;
    QAction* Fec_Livro = nullptr;
    QAction* Fec_Dep = nullptr;
    QMenu* Expor = nullptr;
    QAction* Exp_Web = nullptr;
    QAction* Exp_Termo = nullptr;
    QAction* Exp_Mirava = nullptr;
    QAction* Exp_BKP = nullptr;
    QAction* Exp_Transm = nullptr;
    QAction* Sobre_Sis = nullptr;
    QAction* Saida = nullptr;
    QAction* Espaco2 = nullptr;
    QAction* Usu = nullptr;

    void Form_Load() override;
    void Form_Activate() override;
    void Form_Unload(int& Cancel) override;
    void Form_Resize() override;

    void Par_Sis_Click();
    void Agf_Fin_Click();
    void Cad_Dep_Click();
    void Tip_Hist_Click();
    void Igr_Setor_Click();
    void AtuBA_Click();
    void Avi_Hoje_Click();
    void Rem_Mat_Click();
    void Set_Igr_Click();
    void Liv_Cx_Click();
    void Lan_Dep_Click();
    void SelImp_Click();
    void Env_Diz_Click();
    void Diz_Rel_Click();
    void Rec_Diz_Click();
    void Fec_Livro_Click();
    void Fec_Dep_Click();
    void Exp_Web_Click();
    void Exp_Termo_Click();
    void Exp_Mirava_Click();
    void Exp_BKP_Click();
    void Exp_Transm_Click();
    void Sobre_Sis_Click();
    void Saida_Click();
    void Usu_Click();

    // Shows the login dialog modally; returns once a valid login closed it.
    // Tests of this window replace the dialog through this seam.
    static void DefineLogin(std::function<void()> login);
    void Mostra_Login();

private:
    void monta_Menu();
    bool ativando_ = false;
};
