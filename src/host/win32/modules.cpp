#include "host/win32/modules_internal.h"
#include "host/win32/runtime.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
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

// The executable's folder, also before the application object exists.
QString executableFolder()
{
    if (QCoreApplication::instance() != nullptr) {
        return QCoreApplication::applicationDirPath();
    }
    return QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath();
}

std::shared_ptr<LoadedLibrary> loadLibrary(const QString& name)
{
    for (const QString& candidate : librarySearchPaths(platformName(name))) {
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

QStringList librarySearchPaths(const QString& name)
{
    QStringList candidates;
    if (!name.contains(QLatin1Char('/'))) {
        candidates << QDir(executableFolder()).filePath(name);
    }
    candidates << name;
    return candidates;
}

bool isRuntimeModule(HMODULE module)
{
    const ModuleObject* object = moduleTable().find(module);
    return object != nullptr && object->loaded == nullptr;
}

} // namespace win32
