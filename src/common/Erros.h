#pragma once
// The shared handler of run-time errors and the retry convention of the
// error exits.
//
// Every procedure that touches data, files, the printer or the network
// writes each of its steps as a retryable unit:
//
//     const Screen::Ampulheta ampulheta;
//     RecordsetPtr rs;
//     if (Tenta([&] { rs = Abre_Recordset("ProcPesq..."); }) &&
//         Tenta([&] { ...next step... })) {
//         ...
//     }
//     // closing part: release what is held; the guard puts the pointer back
//
// Tenta runs the step; on an error it asks Trata_Erro, runs exactly the
// same step again while the user answers Yes, and returns false on No so
// that the caller goes straight to its closing part.
#include "platform/Erro.h"
#include <QString>
#include <functional>

// Number of the error last handed to Trata_Erro.
extern double Num_Erro;

// Shows the error's message (number in the title, fixed Portuguese text,
// "Contacte área de Sistemas.", "Continua Tentando ?") and returns true to
// try again, false to give up. Error 0 returns true without a box. Error
// 3151 answered Yes starts the connector installer of the program folder
// when it is there, and then returns false. Always ends with the pending
// events processed and the default mouse pointer.
bool Trata_Erro(const ErroExecucao& e);
bool Trata_Erro(long numero, const QString& descricao = {});

// The message text shown for an error (without the two fixed lines).
QString Texto_Erro(long numero, const QString& descricao = {});

// Runs one step under the retry convention (see above). Errors other than
// ErroExecucao that derive from std::exception are reported under a
// run-time number (7 out of memory, 9 out of range, 5 otherwise) instead of
// escaping. Returns true when the step completed.
bool Tenta(const std::function<void()>& passo);

// The error number under which an unexpected exception is reported.
ErroExecucao Converte_Excecao(const std::exception& e);

// An error that escapes an event handler (ErroExecucao or any standard
// exception) is handed to Trata_Erro, under Converte_Excecao's number: this
// module installs that handler in the controls when the program starts.
// The answer is not acted on: the event that failed is over.
