#include "host/win32/modules.h"

#include "host/win32/runtime.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibrary>
#include <map>
#include <memory>

namespace win32 {

namespace {

// One loaded library, shared by every handle to it and unloaded with the last one.
struct LoadedLibrary {
    explicit LoadedLibrary(const QString& name) : library(name) {}
    LoadedLibrary(const LoadedLibrary&) = delete;
    LoadedLibrary& operator=(const LoadedLibrary&) = delete;
    ~LoadedLibrary() { library.unload(); }
    QLibrary library;
};

struct ModuleObject {
    std::shared_ptr<LoadedLibrary> loaded; // null for the runtime's own module
};

std::map<QString, std::weak_ptr<LoadedLibrary>>& loadedLibraries()
{
    static std::map<QString, std::weak_ptr<LoadedLibrary>> libraries;
    return libraries;
}

HandleTable<ModuleObject>& moduleTable()
{
    static HandleTable<ModuleObject> table(HandleKind::Module);
    return table;
}

QString runtimeLibraryName()
{
    return QStringLiteral("HostRT") + QString::number(kRuntimeMajorVersion) +
           QStringLiteral("0.DLL");
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

std::shared_ptr<LoadedLibrary> loadLibrary(const QString& name)
{
    const QString base = platformName(name);
    QStringList candidates;
    if (!base.contains(QLatin1Char('/')) && QCoreApplication::instance() != nullptr) {
        candidates << QDir(QCoreApplication::applicationDirPath()).filePath(base);
    }
    candidates << base;
    for (const QString& candidate : candidates) {
        if (auto shared = loadedLibraries()[candidate].lock()) {
            return shared;
        }
        auto loaded = std::make_shared<LoadedLibrary>(candidate);
        if (loaded->library.load()) {
            loadedLibraries()[candidate] = loaded;
            return loaded;
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
        module->loaded = loadLibrary(requested);
        if (module->loaded == nullptr) {
            return 0;
        }
    }
    return moduleTable().add(std::move(module));
}

FARPROC GetProcAddress(HMODULE module, const char* name)
{
    const ModuleObject* object = moduleTable().find(module);
    if (object == nullptr || object->loaded == nullptr || name == nullptr) {
        return nullptr;
    }
    return object->loaded->library.resolve(name);
}

BOOL FreeLibrary(HMODULE module)
{
    // The library itself is unloaded when its last handle goes.
    return moduleTable().take(module) != nullptr ? 1 : 0;
}

bool isRuntimeModule(HMODULE module)
{
    const ModuleObject* object = moduleTable().find(module);
    return object != nullptr && object->loaded == nullptr;
}

} // namespace win32
