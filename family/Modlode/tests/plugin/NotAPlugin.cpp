// A module without the plug-in exports.
extern "C" int NotAPluginAnswer()
{
    return 42;
}
