// The window program and the safety of its file: the copy before the first change with
// its note in the status bar, the check on opening with the offer of the newest good
// copy (never taken without a yes, the damaged file always kept), and "Edición" →
// "Deshacer" / "Rehacer" naming the step.

#include "AppPrueba.h"
#include "Clock.h"
#include "ComboList.h"
#include "CopiaSeguridad.h"
#include "DbConnection.h"
#include "MainFrame.h"
#include "MessageBox.h"
#include "OstrevanApp.h"
#include "OstrevanView.h"
#include "TestSupport.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QTest>
#include <sqlite3.h>

namespace {
const QDateTime kAhora(QDate(2024, 3, 12), QTime(10, 0));

// Bytes overwritten at the start of the page of PERSONAL's b-tree: the file still opens
// (nothing read at opening lies there) but is damaged.
bool Danar(const QString& ruta, const char* tabla = "PERSONAL") {
    sqlite3* db = nullptr;
    sqlite3_stmt* stmt = nullptr;
    int pagina = 0;
    if (sqlite3_open_v2(QFile::encodeName(ruta).constData(), &db, SQLITE_OPEN_READONLY, nullptr) ==
            SQLITE_OK &&
        sqlite3_prepare_v2(db, "SELECT rootpage FROM sqlite_master WHERE name = ?1", -1, &stmt,
                           nullptr) == SQLITE_OK &&
        sqlite3_bind_text(stmt, 1, tabla, -1, SQLITE_STATIC) == SQLITE_OK &&
        sqlite3_step(stmt) == SQLITE_ROW)
        pagina = sqlite3_column_int(stmt, 0);
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    QFile f(ruta);
    if (pagina < 2 || !f.open(QIODevice::ReadWrite))
        return false;
    f.seek(qint64(pagina - 1) * 4096);
    return f.write(QByteArray(16, '\x5A')) == 16;
}

QString Carpeta(const QString& bd) {
    return QFileInfo(bd).absoluteDir().filePath(QStringLiteral("copias"));
}
} // namespace

class TestAppCopias : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        DvTest::IsolateSettings();
        DvClock::SetFixed(kAhora);
    }
    void cleanup() {
        DvMessageBox::ClearAnswers();
        CDbConnection::Instance().Reset();
    }

    void copiaAntesDelPrimerCambioYDeshacer();
    void deshacerRellenaLaListaDeServicios();
    void danadaAlAbrirSeRestauraConSi();
    void danadaAlAbrirSinSiNoSeToca();
    void abrirOtraQueNoAbreOfreceSuCopia();
};

void TestAppCopias::copiaAntesDelPrimerCambioYDeshacer() {
    const QString bd = DvAppPrueba::NuevaBdDemo(QStringLiteral("ostrevan.mdb"), kAhora.date());
    QDir(Carpeta(bd)).removeRecursively();
    QVERIFY(DvAppPrueba::AbrirBd(bd));
    DvMessageBox::Recorder mensajes;
    auto app = DvAppPrueba::Iniciar(bd);
    QVERIFY(app);
    CMainFrame* marco = app->MainFrame();
    QAction* deshacer = marco->CommandAction(QStringLiteral("ID_EDIT_UNDO"));
    QAction* rehacer = marco->CommandAction(QStringLiteral("ID_EDIT_REDO"));
    QVERIFY(deshacer && rehacer);
    marco->UpdateEditItems();
    QVERIFY(!deshacer->isEnabled() && !rehacer->isEnabled());
    QVERIFY(!QFileInfo::exists(Carpeta(bd)) || QDir(Carpeta(bd)).isEmpty());

    QVERIFY(DvAppPrueba::Sql(QStringLiteral("INSERT INTO FIESTAS (ID, DIA, DESCRIPCION, CICLICO) "
                                            "VALUES (900, '2024/05/15', 'San Isidro', 0);")));
    QVERIFY(DvAppPrueba::Sql(QStringLiteral("DELETE FROM FIESTAS WHERE ID = 900;")));
    // One copy, of the file as it was before the first change.
    const std::vector<DvCopia::CCopia> copias = DvCopia::Listar(Carpeta(bd));
    QCOMPARE(copias.size(), size_t(1));
    QCOMPARE(QFileInfo(copias.front().ruta).fileName(),
             QStringLiteral("ostrevan-20240312-100000.mdb"));
    QCOMPARE(DvCopia::ProblemasFichero(copias.front().ruta, false), QStringList());
    QCOMPARE(marco->MessagePane()->text(), QStringLiteral("Copia de seguridad hecha: %1")
                                               .arg(QDir::toNativeSeparators(copias.front().ruta)));

    marco->UpdateEditItems();
    QCOMPARE(deshacer->text(), QStringLiteral("&Deshacer: borrar festivo San Isidro\tCtrl+Z"));
    QVERIFY(deshacer->isEnabled());
    QCOMPARE(rehacer->text(), QStringLiteral("&Rehacer\tCtrl+Y"));
    QVERIFY(marco->OnCmdMsg(QStringLiteral("ID_EDIT_UNDO")));
    QCOMPARE(marco->MessagePane()->text(), QStringLiteral("Deshecho: borrar festivo San Isidro"));
    QCOMPARE(deshacer->text(), QStringLiteral("&Deshacer: añadir festivo San Isidro\tCtrl+Z"));
    QCOMPARE(rehacer->text(), QStringLiteral("&Rehacer: borrar festivo San Isidro\tCtrl+Y"));
    QVERIFY(marco->OnCmdMsg(QStringLiteral("ID_EDIT_UNDO")));
    QVERIFY(!deshacer->isEnabled());
    QVERIFY(marco->OnCmdMsg(QStringLiteral("ID_EDIT_REDO")));
    QCOMPARE(deshacer->text(), QStringLiteral("&Deshacer: añadir festivo San Isidro\tCtrl+Z"));
    QCOMPARE(mensajes.Count(), 0);
}

// Undoing the service just added takes it out of the selectors, so "Generar" cannot
// build the roster of a service that is no longer there; the selection stays otherwise.
void TestAppCopias::deshacerRellenaLaListaDeServicios() {
    const QString bd = DvAppPrueba::NuevaBdDemo(QStringLiteral("ostrevan.mdb"), kAhora.date());
    QVERIFY(DvAppPrueba::AbrirBd(bd));
    auto app = DvAppPrueba::Iniciar(bd);
    QVERIFY(app);
    CMainFrame* marco = app->MainFrame();
    CComboList* servicios = marco->View()->Servicios();
    QVERIFY(servicios);
    const int antes = servicios->count();
    QVERIFY(DvAppPrueba::Sql(
        QStringLiteral("INSERT INTO FUNCIONES (ID, NOMBRE) VALUES (900, 'Cardiología');")));
    marco->View()->RellenarServicios();
    QVERIFY(servicios->SelectByItemData(900) >= 0);

    QVERIFY(marco->OnCmdMsg(QStringLiteral("ID_EDIT_UNDO")));
    QCOMPARE(servicios->count(), antes);
    QVERIFY(servicios->findText(QStringLiteral("Cardiología")) < 0);
    QVERIFY(servicios->GetSelectedItemData() != 900);

    QVERIFY(marco->OnCmdMsg(QStringLiteral("ID_EDIT_REDO")));
    QCOMPARE(servicios->count(), antes + 1);
    const int otro = servicios->itemData(servicios->count() - 1).toInt() == 900
                         ? servicios->itemData(0).toInt()
                         : servicios->itemData(servicios->count() - 1).toInt();
    QVERIFY(servicios->SelectByItemData(otro) >= 0);
    QVERIFY(marco->OnCmdMsg(QStringLiteral("ID_EDIT_UNDO")));
    QCOMPARE(servicios->GetSelectedItemData(), otro);
}

void TestAppCopias::danadaAlAbrirSeRestauraConSi() {
    const QString bd = DvAppPrueba::NuevaBdDemo(QStringLiteral("ostrevan.mdb"), kAhora.date());
    QDir(Carpeta(bd)).removeRecursively();
    QDir().mkpath(Carpeta(bd));
    const DvCopia::CResultado vieja = DvCopia::CopiarFichero(bd, Carpeta(bd), kAhora.addDays(-3));
    const DvCopia::CResultado copia = DvCopia::CopiarFichero(bd, Carpeta(bd), kAhora.addDays(-1));
    QCOMPARE(copia.estado, DvCopia::Estado::Hecha);
    QVERIFY(vieja.estado == DvCopia::Estado::Hecha);
    // The newest copy is damaged too: the offer passes over it.
    const QString mala = QDir(Carpeta(bd)).filePath(DvCopia::NombreCopia(kAhora.addSecs(-60)));
    QVERIFY(QFile::copy(bd, mala));
    QVERIFY(Danar(mala));
    QVERIFY(Danar(bd));
    const QByteArray danada = DvAppPrueba::Leer(bd);
    QVERIFY(DvAppPrueba::AbrirBd(bd));

    DvMessageBox::Recorder mensajes;
    DvMessageBox::SetNextAnswer(DvMessageBox::IdYes);
    auto app = DvAppPrueba::Iniciar(bd);
    QVERIFY(app);
    QVERIFY(mensajes.Count() >= 2);
    const DvMessageBox::Message pregunta = mensajes.Messages().at(0);
    QCOMPARE(pregunta.buttons, DvMessageBox::YesNo);
    QCOMPARE(pregunta.caption, QStringLiteral("Dravonela"));
    const QString apartado = DvCopia::NombreApartado(bd, kAhora);
    QVERIFY2(
        pregunta.text.startsWith(
            QStringLiteral("La base de datos %1 está dañada (").arg(QDir::toNativeSeparators(bd))),
        qPrintable(pregunta.text));
    QVERIFY(pregunta.text.contains(QStringLiteral("La copia buena más reciente es %1, del "
                                                  "11/03/2024 a las 10:00.")
                                       .arg(QDir::toNativeSeparators(copia.ruta))));
    QVERIFY(pregunta.text.contains(QStringLiteral("¿Desea restaurarla? La base de datos dañada se "
                                                  "conserva como %1.")
                                       .arg(QDir::toNativeSeparators(apartado))));
    QCOMPARE(mensajes.Messages().at(1).text,
             QStringLiteral("Se ha restaurado la copia del 11/03/2024 a las 10:00.\nLa base de "
                            "datos dañada se conserva como %1.")
                 .arg(QDir::toNativeSeparators(apartado)));
    QCOMPARE(DvAppPrueba::Leer(apartado), danada);
    QCOMPARE(DvAppPrueba::Leer(bd), DvAppPrueba::Leer(copia.ruta));
    // The program goes on with the copy, open and sound.
    QVERIFY(CDbConnection::Instance().IsOpen());
    QCOMPARE(DvCopia::Problemas(CDbConnection::Instance().Handle(), true), QStringList());
}

void TestAppCopias::danadaAlAbrirSinSiNoSeToca() {
    const QString bd = DvAppPrueba::NuevaBdDemo(QStringLiteral("ostrevan.mdb"), kAhora.date());
    QDir(Carpeta(bd)).removeRecursively();
    QDir().mkpath(Carpeta(bd));
    QVERIFY(DvCopia::CopiarFichero(bd, Carpeta(bd), kAhora.addDays(-1)).estado ==
            DvCopia::Estado::Hecha);
    QVERIFY(Danar(bd));
    const QByteArray danada = DvAppPrueba::Leer(bd);
    const QStringList antes = QDir(QFileInfo(bd).absolutePath()).entryList(QDir::Files);
    QVERIFY(DvAppPrueba::AbrirBd(bd));
    DvMessageBox::Recorder mensajes;
    DvMessageBox::SetNextAnswer(DvMessageBox::IdNo);
    auto app = DvAppPrueba::Iniciar(bd);
    QVERIFY(app);
    QCOMPARE(mensajes.Messages().at(0).buttons, DvMessageBox::YesNo);
    QCOMPARE(DvAppPrueba::Leer(bd), danada);
    QCOMPARE(QDir(QFileInfo(bd).absolutePath()).entryList(QDir::Files), antes);

    // No good copy at all: told so, and still nothing touched.
    app.reset();
    QDir(Carpeta(bd)).removeRecursively();
    QVERIFY(DvAppPrueba::AbrirBd(bd));
    mensajes.Clear();
    app = DvAppPrueba::Iniciar(bd);
    QVERIFY(app);
    QVERIFY(mensajes.Count() >= 1);
    QCOMPARE(mensajes.Messages().at(0).buttons, DvMessageBox::Ok);
    QVERIFY(mensajes.Messages().at(0).text.contains(QStringLiteral("No hay ninguna copia buena")));
    QCOMPARE(DvAppPrueba::Leer(bd), danada);
}

void TestAppCopias::abrirOtraQueNoAbreOfreceSuCopia() {
    const QString a = DvAppPrueba::NuevaBdDemo(QStringLiteral("ostrevan.mdb"), kAhora.date());
    const QString b = DvAppPrueba::NuevaBdDemo(QStringLiteral("otra.mdb"), kAhora.date());
    QDir(Carpeta(b)).removeRecursively();
    QDir().mkpath(Carpeta(b));
    const DvCopia::CResultado copia = DvCopia::CopiarFichero(b, Carpeta(b), kAhora.addDays(-2));
    QCOMPARE(copia.estado, DvCopia::Estado::Hecha);
    // The table read to check the password: the file does not even open.
    QVERIFY(Danar(b, "ACCESO"));
    const QByteArray danada = DvAppPrueba::Leer(b);
    QVERIFY(DvAppPrueba::AbrirBd(a));
    DvMessageBox::Recorder mensajes;
    auto app = DvAppPrueba::Iniciar(a);
    QVERIFY(app);

    // Said no: nothing changes, the program stays on its file.
    DvMessageBox::SetNextAnswer(DvMessageBox::IdOk);
    DvMessageBox::SetNextAnswer(DvMessageBox::IdNo);
    QVERIFY(!app->OpenDatabase(b));
    QCOMPARE(DvAppPrueba::Leer(b), danada);
    QCOMPARE(CDbConnection::Instance().Path(), a);

    mensajes.Clear();
    DvMessageBox::SetNextAnswer(DvMessageBox::IdOk);
    DvMessageBox::SetNextAnswer(DvMessageBox::IdYes);
    QVERIFY(app->OpenDatabase(b));
    QCOMPARE(mensajes.Count(), 3);
    QCOMPARE(mensajes.Messages().at(0).caption, QStringLiteral("Error"));
    QVERIFY(mensajes.Messages().at(1).text.contains(QStringLiteral("del 10/03/2024 a las 10:00")));
    QCOMPARE(CDbConnection::Instance().Path(), b);
    QVERIFY(CDbConnection::Instance().IsOpen());
    QCOMPARE(DvAppPrueba::Leer(DvCopia::NombreApartado(b, kAhora)), danada);
}

QTEST_MAIN(TestAppCopias)
#include "test_app_copias.moc"
