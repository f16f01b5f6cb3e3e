/* Included before every file of a tweak, as a tweak's build does on the
   device: Objective-C files see Foundation and UIKit without importing them. */
#ifdef __OBJC__
#import <Foundation/Foundation.h>
#import <UIKit/UIKit.h>
#endif
