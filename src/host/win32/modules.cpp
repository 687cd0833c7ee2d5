#include "host/win32/modules.h"

#include "host/win32/runtime.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibrary>
#include <memory>

namespace win32 {

namespace {

struct ModuleObject {
    std::unique_ptr<QLibrary> library; // null for the runtime's own module
};

HandleTable<ModuleObject>& moduleTable()
{
    static HandleTable<ModuleObject> table(HandleKind::Module);
    return table;
}

QString runtimeLibraryName()
{
    return QStringLiteral("HostRT%10.DLL").arg(kRuntimeMajorVersion);
}

// The platform's name for "X.dll": X, which QLibrary completes with the platform's prefix and
// suffix ("libX.so").
QString platformName(const QString& name)
{
    if (name.endsWith(QLatin1String(".dll"), Qt::CaseInsensitive)) {
        return name.chopped(4);
    }
    return name;
}

std::unique_ptr<QLibrary> loadLibrary(const QString& name)
{
    const QString base = platformName(name);
    QStringList candidates;
    if (!base.contains(QLatin1Char('/')) && QCoreApplication::instance() != nullptr) {
        candidates << QDir(QCoreApplication::applicationDirPath()).filePath(base);
    }
    candidates << base;
    for (const QString& candidate : candidates) {
        auto library = std::make_unique<QLibrary>(candidate);
        if (library->load()) {
            return library;
        }
    }
    return nullptr;
}

} // namespace

HMODULE LoadLibraryA(const char* name)
{
    if (name == nullptr || *name == '\0') {
        return 0;
    }
    const QString requested = QString::fromUtf8(name);
    auto module = std::make_unique<ModuleObject>();
    if (requested.compare(runtimeLibraryName(), Qt::CaseInsensitive) != 0) {
        module->library = loadLibrary(requested);
        if (module->library == nullptr) {
            return 0;
        }
    }
    return moduleTable().add(std::move(module));
}

FARPROC GetProcAddress(HMODULE module, const char* name)
{
    const ModuleObject* object = moduleTable().find(module);
    if (object == nullptr || object->library == nullptr || name == nullptr) {
        return nullptr;
    }
    return object->library->resolve(name);
}

BOOL FreeLibrary(HMODULE module)
{
    std::unique_ptr<ModuleObject> object = moduleTable().take(module);
    if (object == nullptr) {
        return 0;
    }
    if (object->library != nullptr) {
        // QLibrary counts loads per file, so the library stays while other handles hold it.
        object->library->unload();
    }
    return 1;
}

bool isRuntimeModule(HMODULE module)
{
    const ModuleObject* object = moduleTable().find(module);
    return object != nullptr && object->library == nullptr;
}

} // namespace win32
