// The icon of an application; launching it opens the application.
#import <SpringBoard/SBIcon.h>

@class SBApplication;

@interface SBApplicationIcon : SBIcon {
  SBApplication* _application;
}
- (id)initWithApplication:(SBApplication*)application;
- (SBApplication*)application;
@end
