#include "driver/demo_assets.h"

const char* const DEMO_CREDITS[DEMO_CREDITS_COUNT] = {"creds0.jpg", "creds1.jpg", "creds2.jpg", "creds3.jpg",
                                                     "creds4.jpg", "creds5.jpg", "creds6.jpg"};

DemoAssets& demo_assets()
{
    static DemoAssets assets;
    return assets;
}
