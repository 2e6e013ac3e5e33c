// Benchmarks in the real page engine: the offscreen toolkit, COM and the page data manager
// registered in a registry store of the run's own, made once per program.
#pragma once

#include <Tarveskon/TvskStrings.h>

#include <com/ComRuntime.h>
#include <ui/App.h>

#include <kernel/SharedLibrary.h>

#include <QApplication>

#include <cstdlib>
#include <string>

inline void EnsureEngineToolkit(const char* programName, const char* dataManagerModule)
{
    static QApplication* app = [programName, dataManagerModule]
    {
        std::string folder = std::string("/tmp/") + programName + "-XXXXXX";
        ::setenv("TARVESKON_REGISTRY", (std::string(::mkdtemp(folder.data())) + "/registry").c_str(), 1);
        qputenv("QT_QPA_PLATFORM", "offscreen");
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
        QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
        static int argc = 1;
        static std::string name = programName;
        static char* argv[] = {name.data(), nullptr};
        auto* application = new QApplication(argc, argv);
        int zero = 0;
        AfxInitToolkit(zero, nullptr);
        CoInitialize(nullptr);
        CSharedLibrary module;
        if (module.Open(dataManagerModule))
            if (auto reg = reinterpret_cast<HRESULT (*)()>(module.Symbol("DllRegisterServer")))
                reg();
        RegisterTvskStrings();
        return application;
    }();
    (void)app;
}
