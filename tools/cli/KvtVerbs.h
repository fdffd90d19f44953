// The verbs of "motrix-cli kvt". Each checks its files first and then opens the session
// itself, so that a bad file never touches the port.
#pragma once

#include "KvtOptions.h"
#include "KvtSession.h"

#include <QTextStream>

namespace cli {

int kvtIdentify(KvtSession& session, const KvtOptions& options, QTextStream& out, QTextStream& err);
int kvtRead(KvtSession& session, const KvtOptions& options, QTextStream& out, QTextStream& err);
int kvtWrite(KvtSession& session, const KvtOptions& options, QTextStream& out, QTextStream& err);
int kvtLive(KvtSession& session, const KvtOptions& options, QTextStream& out, QTextStream& err);
int kvtFlash(KvtSession& session, const KvtOptions& options, QTextStream& out, QTextStream& err);

}  // namespace cli
