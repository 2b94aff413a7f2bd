// The album's player for web browsers. It shows the pages that web/album.js describes exactly as the disc's
// native player does: every page is a set of pictures at fixed places on a 1024 x 768 stage, with areas that
// react to the pointer (hover pictures, highlights) and to clicks (navigation). Everything comes from files beside
// this one (album.js through a script tag, pictures through img elements), so the album plays from a disc or a
// folder opened as file://, offline.
(function () {
    "use strict";

    var PAGE_WIDTH = 1024;
    var PAGE_HEIGHT = 768;
    var SLIDE_TICK_MS = 100;
    var FADE_MS = 1000;
    var TARGET_NONE = -1;
    var TARGET_SOUND = -2;
    var SWIPE_PIXELS = 50;
    var Z_SHOWN = 10000;
    var Z_HIGHLIGHT = 20000;
    var MAX_TIMEOUT_MS = 2147483647;

    var album = window.VELLORA_ALBUM;
    var stage = document.getElementById("stage");
    var startScreen = document.getElementById("start");
    var endScreen = document.getElementById("end");
    var fullScreenButton = document.getElementById("fullscreen");

    function contains(rect, x, y) {
        return rect[0] <= x && x <= rect[2] && rect[1] <= y && y <= rect[3];
    }

    function now() {
        return window.performance.now();
    }

    function makeImage(parent, element) {
        var image = document.createElement("img");
        image.alt = "";
        image.draggable = false;
        image.style.left = element.x + "px";
        image.style.top = element.y + "px";
        image.style.width = element.w + "px";
        image.style.height = element.h + "px";
        if (element.src)
            image.src = "web/" + element.src;
        parent.appendChild(image);
        return image;
    }

    function setShown(node, shown) {
        if (node)
            node.classList.toggle("on", shown);
    }

    // A film strip: a window on the page through which a long strip of thumbnails scrolls by itself; the picture
    // of the thumbnail under the pointer is shown on the page. The strip holds its thumbnails twice in a row, so
    // the offset wraps at half its length.
    function FilmStrip(element, root, view) {
        var strip = element.strip;
        this.view = view;
        this.window = strip.window;
        this.direction = strip.direction;
        this.itemWidth = strip.itemWidth;
        this.itemHeight = strip.itemHeight;
        this.speed = strip.speed > 0 ? strip.speed : 0;
        this.horizontal = strip.direction === 0 || strip.direction === 1;
        this.half = Math.floor((this.horizontal ? element.w : element.h) / 2);
        this.offset = strip.direction === 0 || strip.direction === 3 ? this.half : 0;
        this.currentItem = -1;
        this.started = false;

        this.box = document.createElement("div");
        this.box.className = "strip";
        this.box.style.left = this.window[0] + "px";
        this.box.style.top = this.window[1] + "px";
        this.box.style.width = Math.max(0, this.window[2] - this.window[0]) + "px";
        this.box.style.height = Math.max(0, this.window[3] - this.window[1]) + "px";
        root.appendChild(this.box);
        this.picture = makeImage(this.box, { x: 0, y: 0, w: element.w, h: element.h, src: element.src });
        this.picture.classList.add("on");
        this.items = [];
        for (var i = 0; i < strip.items.length; ++i)
            this.items.push(makeImage(root, strip.items[i]));
        this.place();
    }

    FilmStrip.prototype.place = function () {
        var x = this.horizontal ? -this.offset : 0;
        var y = this.horizontal ? 0 : -this.offset;
        this.picture.style.transform = "translate(" + x + "px," + y + "px)";
    };

    FilmStrip.prototype.show = function () {
        if (!this.started) {
            this.started = true;
            this.lastTick = now();
            this.currentItem = this.items.length > 0 ? 0 : -1;
        }
        setShown(this.box, !!this.picture.getAttribute("src"));
        for (var i = 0; i < this.items.length; ++i)
            setShown(this.items[i], i === this.currentItem);
    };

    // The same steps as the native player: whole pixels per elapsed time, the remainder waits for the next tick.
    FilmStrip.prototype.tick = function (time) {
        if (!this.started)
            return;
        var step = Math.trunc((time - this.lastTick) * this.speed / 1000);
        if (step !== 0) {
            this.lastTick = time;
            this.move(step);
            this.place();
        }
        this.hoverTest();
    };

    FilmStrip.prototype.move = function (step) {
        var half = this.half;
        if (half <= 0) {
            this.offset = 0;
            return;
        }
        var offset = this.offset;
        if (this.direction === 0 || this.direction === 3) {
            offset -= step;
            if (offset < 0)
                offset = half;
        } else if (this.direction === 1 || this.direction === 2) {
            offset += step;
            if (offset > half)
                offset = offset % half === 0 ? half : offset % half;
        }
        this.offset = Math.min(Math.max(offset, 0), half);
    };

    FilmStrip.prototype.itemAt = function (x, y) {
        if (!contains(this.window, x, y))
            return -1;
        var size = this.horizontal ? this.itemWidth : this.itemHeight;
        if (size <= 0)
            return -1;
        var along = this.horizontal ? x - this.window[0] : y - this.window[1];
        var index = Math.floor((along + this.offset) / size);
        var count = this.items.length;
        if (index >= count)
            index -= count;
        return index >= 0 && index < count ? index : -1;
    };

    FilmStrip.prototype.hoverTest = function () {
        var pointer = player.pointer;
        if (!pointer)
            return;
        var index = this.itemAt(pointer.x, pointer.y);
        if (index === -1 || index === this.currentItem)
            return;
        setShown(this.items[this.currentItem], false);
        setShown(this.items[index], true);
        this.currentItem = index;
    };

    // One page on the stage, with the viewer state of the native player: the hover element (kind 1) shown, the
    // highlight of the mouse action under the pointer, the current slide of a slide show.
    function PageView(page, index) {
        this.page = page;
        this.index = index;
        this.root = document.createElement("div");
        this.root.className = "page";
        this.nodes = [];
        this.strips = [];
        this.hoverIndex = -1;
        this.shownIndex = -1;
        this.highlightIndex = -1;
        this.hoverAction = null;
        this.currentNavi = null;
        this.currentSlide = 0;
        this.previousSlide = -1;
        this.firstDrawing = true;
        this.fade = null;
        for (var i = 0; i < page.elements.length; ++i) {
            var element = page.elements[i];
            if (element.strip) {
                var strip = new FilmStrip(element, this.root, this);
                strip.box.setAttribute("data-index", i);
                this.nodes.push(strip);
                this.strips.push(strip);
            } else {
                var image = makeImage(this.root, element);
                image.setAttribute("data-index", i);
                this.nodes.push(image);
            }
        }
        this.slideCount = this.countSlides();
    }

    PageView.prototype.isSlideShow = function () {
        return this.page.type === 1;
    };

    PageView.prototype.countSlides = function () {
        var count = 0;
        for (var i = 0; i < this.page.elements.length; ++i) {
            var element = this.page.elements[i];
            if (element.kind === 3 && !element.strip)
                ++count;
        }
        return count;
    };

    PageView.prototype.element = function (index) {
        return index >= 0 && index < this.page.elements.length ? this.page.elements[index] : null;
    };

    PageView.prototype.image = function (index) {
        var node = index >= 0 && index < this.nodes.length ? this.nodes[index] : null;
        return node && !(node instanceof FilmStrip) ? node : null;
    };

    PageView.prototype.start = function () {
        stage.appendChild(this.root);
        if (this.isSlideShow()) {
            this.lastSlideChange = now();
            if (this.currentSlide >= this.slideCount)
                this.currentSlide = 0;
            var view = this;
            this.slideTimer = window.setInterval(function () { view.slideTick(); }, SLIDE_TICK_MS);
        }
        this.render();
    };

    PageView.prototype.stop = function () {
        if (this.slideTimer)
            window.clearInterval(this.slideTimer);
        this.slideTimer = null;
        this.endFade();
        if (this.root.parentNode)
            this.root.parentNode.removeChild(this.root);
    };

    // Which elements show: kind 0 always, 4 while the sound is on, 5 while it is off, the current slide of a
    // slide show, the hover element (kind 1) above the rest and the highlight of the pointer's area on top.
    PageView.prototype.render = function () {
        var soundOn = player.soundOn;
        var slideOrdinal = 0;
        var slide = -1;
        for (var i = 0; i < this.nodes.length; ++i) {
            var node = this.nodes[i];
            if (node instanceof FilmStrip) {
                node.show();
                continue;
            }
            var kind = this.page.elements[i].kind;
            var shown = false;
            if (kind === 0 || (kind === 4 && soundOn) || (kind === 5 && !soundOn))
                shown = true;
            else if (kind === 1 && (i === this.hoverIndex || (this.shownIndex === -1 && this.hoverIndex === -1)))
                this.shownIndex = i;
            else if (kind === 3 && this.isSlideShow() && slideOrdinal++ === this.currentSlide) {
                shown = true;
                slide = i;
            }
            if (this.fade && i === this.fade.oldIndex)
                shown = true;
            node.style.zIndex = "";
            setShown(node, shown);
        }
        var shownImage = this.image(this.shownIndex);
        if (shownImage) {
            shownImage.style.zIndex = Z_SHOWN;
            setShown(shownImage, true);
        }
        if (this.isSlideShow())
            this.presentSlide(slide);
        this.refreshHighlight();
        this.firstDrawing = false;
    };

    // A new slide fades in over the old one in 1000 ms; an old slide that lies above the new one in the page's
    // order, or covers other ground, fades out at the same time.
    PageView.prototype.presentSlide = function (slide) {
        var previous = this.previousSlide;
        this.previousSlide = slide;
        if (this.firstDrawing || slide === previous || slide === -1 || previous === -1) {
            if (slide !== previous)
                this.endFade();
            return;
        }
        this.endFade();
        var oldImage = this.image(previous);
        var newImage = this.image(slide);
        var a = this.page.elements[previous];
        var b = this.page.elements[slide];
        var sameArea = a.x === b.x && a.y === b.y && a.w === b.w && a.h === b.h;
        setShown(oldImage, true);
        if (previous > slide || !sameArea)
            oldImage.classList.add("fade-out");
        if (previous < slide || !sameArea)
            newImage.classList.add("fade-in");
        var view = this;
        this.fade = { oldIndex: previous, timer: window.setTimeout(function () { view.endFade(); }, FADE_MS) };
    };

    PageView.prototype.endFade = function () {
        if (!this.fade)
            return;
        window.clearTimeout(this.fade.timer);
        var oldIndex = this.fade.oldIndex;
        this.fade = null;
        for (var i = 0; i < this.nodes.length; ++i) {
            var image = this.image(i);
            if (image)
                image.classList.remove("fade-in", "fade-out");
        }
        if (oldIndex !== this.previousSlide)
            setShown(this.image(oldIndex), this.isShownByKind(oldIndex));
    };

    PageView.prototype.isShownByKind = function (index) {
        var element = this.element(index);
        if (!element)
            return false;
        var kind = element.kind;
        var soundOn = player.soundOn;
        return kind === 0 || (kind === 4 && soundOn) || (kind === 5 && !soundOn) || index === this.shownIndex ||
            index === this.highlightIndex || (kind === 3 && this.isSlideShow() && index === this.previousSlide);
    };

    PageView.prototype.slideTick = function () {
        var time = now();
        if (this.lastSlideChange + (this.page.interval || 0) < time) {
            this.lastSlideChange = time;
            ++this.currentSlide;
            if (this.currentSlide >= this.slideCount)
                this.currentSlide = 0;
            this.render();
        }
    };

    // The sound button lays two highlight actions over one area, one for each of its looks; the one whose
    // highlight belongs to the hidden look is passed over.
    PageView.prototype.isActionVisible = function (action) {
        var type = action[4];
        if (type === 0 || type === 2)
            return true;
        var highlight = this.element(action[5]);
        if (!highlight)
            return true;
        return highlight.kind !== (player.soundOn ? 5 : 4);
    };

    PageView.prototype.findNavi = function (x, y) {
        var actions = this.page.navi;
        for (var i = 0; i < actions.length; ++i) {
            if (contains(actions[i], x, y))
                return actions[i];
        }
        return null;
    };

    PageView.prototype.findMouseAction = function (x, y) {
        var actions = this.page.mouse;
        for (var i = 0; i < actions.length; ++i) {
            if (contains(actions[i], x, y) && this.isActionVisible(actions[i]))
                return actions[i];
        }
        return null;
    };

    PageView.prototype.setHighlight = function (index) {
        var previous = this.highlightIndex;
        this.highlightIndex = index;
        var old = this.image(previous);
        if (old && previous !== index) {
            old.style.zIndex = previous === this.shownIndex ? Z_SHOWN : "";
            setShown(old, this.isShownByKind(previous));
        }
        var image = this.image(index);
        if (image) {
            image.style.zIndex = Z_HIGHLIGHT;
            setShown(image, true);
        }
    };

    PageView.prototype.refreshHighlight = function () {
        if (!this.hoverAction) {
            this.setHighlight(-1);
            return;
        }
        if (!this.isActionVisible(this.hoverAction)) {
            this.hoverAction = null;
            this.setHighlight(-1);
            return;
        }
        this.setHighlight(this.hoverAction[5]);
    };

    PageView.prototype.leaveHoverAction = function () {
        if (!this.hoverAction)
            return;
        this.hoverAction = null;
        this.setHighlight(-1);
    };

    PageView.prototype.setHoverIndex = function (index) {
        var previous = this.hoverIndex;
        this.hoverIndex = index;
        if (index !== previous && index !== -1 && index !== this.shownIndex)
            this.render();
    };

    PageView.prototype.mouseMove = function (x, y) {
        this.currentNavi = this.findNavi(x, y);
        var action = this.findMouseAction(x, y);
        if (!action) {
            stage.style.cursor = "default";
            this.leaveHoverAction();
            this.setHoverIndex(-1);
            return;
        }
        stage.style.cursor = "pointer";
        if (action[4] === 0) {
            this.leaveHoverAction();
            this.setHoverIndex(action[5]);
            return;
        }
        if (action[4] === 2 || action === this.hoverAction) {
            if (action !== this.hoverAction)
                this.leaveHoverAction();
            return;
        }
        this.hoverAction = action;
        this.setHighlight(action[5]);
    };

    PageView.prototype.click = function (x, y) {
        this.mouseMove(x, y);
        if (!this.currentNavi)
            return;
        var target = this.currentNavi[4];
        if (target === TARGET_SOUND) {
            player.toggleSound();
            this.hoverAction = null;
            this.render();
            this.mouseMove(x, y);
            return;
        }
        player.goTo(target);
    };

    PageView.prototype.tick = function (time) {
        for (var i = 0; i < this.strips.length; ++i)
            this.strips[i].tick(time);
    };

    var player = {
        soundOn: false,
        view: null,
        index: -1,
        screen: "start",
        pointer: null,
        audio: null,
        studioTimer: null,
        history: [],

        begin: function (firstPage) {
            this.screen = "album";
            startScreen.hidden = true;
            endScreen.hidden = true;
            stage.classList.add("playing");
            this.soundOn = !!this.audio;
            this.setMusic(this.soundOn, true);
            if (firstPage >= 0) {
                this.show(firstPage);
            } else if (album.studio && album.studioSeconds > 0) {
                this.showPage(album.studio, -1);
                var self = this;
                this.studioTimer = window.setTimeout(function () {
                    self.studioTimer = null;
                    if (self.screen === "album" && self.index === -1)
                        self.showFirst();
                }, Math.min(album.studioSeconds * 1000, MAX_TIMEOUT_MS));
            } else {
                this.showFirst();
            }
        },

        showFirst: function () {
            if (album.pages.length > 0)
                this.show(0);
            else
                this.showPage(null, -1);
        },

        // Targets 0 .. N-1 go to that page, -2 switches the sound, -1 ends the album; others are ignored.
        goTo: function (target) {
            if (target === TARGET_NONE) {
                this.end();
            } else if (target === TARGET_SOUND) {
                this.toggleSound();
                if (this.view)
                    this.view.render();
            } else if (target >= 0 && target < album.pages.length) {
                this.show(target);
            }
        },

        show: function (index, fromHistory) {
            this.showPage(album.pages[index], index);
            if (!fromHistory && location.hash !== "#page-" + (index + 1))
                location.hash = "page-" + (index + 1);
        },

        showPage: function (page, index) {
            if (this.view)
                this.view.stop();
            this.view = null;
            this.index = index;
            stage.style.cursor = "default";
            if (!page)
                return;
            this.view = new PageView(page, index);
            this.view.start();
            if (this.pointer)
                this.view.mouseMove(this.pointer.x, this.pointer.y);
            document.title = album.title + (page.title ? " \u2013 " + page.title : "");
        },

        end: function () {
            this.stopAll();
            this.screen = "end";
            endScreen.hidden = false;
            document.getElementById("again").focus();
        },

        toStart: function () {
            this.stopAll();
            this.screen = "start";
            startScreen.hidden = false;
            document.getElementById("play").focus();
        },

        stopAll: function () {
            if (this.studioTimer)
                window.clearTimeout(this.studioTimer);
            this.studioTimer = null;
            this.showPage(null, -1);
            stage.classList.remove("playing");
            this.setMusic(false, true);
            document.title = album.title;
        },

        next: function () {
            if (this.index + 1 < album.pages.length)
                this.show(this.index + 1);
            else if (album.pages.length > 0)
                this.end();
        },

        back: function () {
            if (this.index > 0)
                this.show(this.index - 1);
        },

        toggleSound: function () {
            this.soundOn = !this.soundOn;
            this.setMusic(this.soundOn, false);
        },

        // Like the native player, switching the music off stops it and switching it on starts it from the
        // beginning.
        setMusic: function (on, quiet) {
            var audio = this.audio;
            if (!audio)
                return;
            if (on) {
                var playing = audio.play();
                if (playing && playing.catch)
                    playing.catch(function () {});
            } else {
                audio.pause();
                try {
                    audio.currentTime = 0;
                } catch (ignored) {
                    // Not yet loaded: nothing to rewind.
                }
            }
        }
    };

    // Whether dark text reads better than light text on a "#rrggbb" colour (its relative luminance).
    function isLight(colour) {
        var match = /^#([0-9a-f]{2})([0-9a-f]{2})([0-9a-f]{2})$/i.exec(colour || "");
        if (!match)
            return false;
        var luminance = 0;
        var weights = [0.2126, 0.7152, 0.0722];
        for (var i = 0; i < 3; ++i) {
            var c = parseInt(match[i + 1], 16) / 255;
            luminance += weights[i] * (c <= 0.03928 ? c / 12.92 : Math.pow((c + 0.055) / 1.055, 2.4));
        }
        return luminance > 0.18;
    }

    function makeAudio() {
        var music = album.music;
        if (!music || !music.files || music.files.length === 0)
            return null;
        var audio = document.createElement("audio");
        audio.preload = "auto";
        audio.loop = !!music.loop;
        for (var i = 0; i < music.files.length; ++i) {
            var source = document.createElement("source");
            source.src = "web/" + music.files[i].src;
            source.type = music.files[i].type;
            audio.appendChild(source);
        }
        document.body.appendChild(audio);
        return audio;
    }

    // The stage keeps its proportions and fills as much of the window as it can, centred.
    var scale = 1;
    var stageLeft = 0;
    var stageTop = 0;

    function fit() {
        var width = window.innerWidth;
        var height = window.innerHeight;
        scale = Math.min(width / PAGE_WIDTH, height / PAGE_HEIGHT);
        if (!(scale > 0))
            scale = 1;
        stageLeft = Math.round((width - PAGE_WIDTH * scale) / 2);
        stageTop = Math.round((height - PAGE_HEIGHT * scale) / 2);
        stage.style.transform = "translate(" + stageLeft + "px," + stageTop + "px) scale(" + scale + ")";
    }

    function pagePoint(event) {
        return {
            x: Math.floor((event.clientX - stageLeft) / scale),
            y: Math.floor((event.clientY - stageTop) / scale)
        };
    }

    var touchStart = null;

    function onPointerMove(event) {
        if (player.screen !== "album")
            return;
        player.pointer = pagePoint(event);
        if (player.view && event.pointerType === "mouse")
            player.view.mouseMove(player.pointer.x, player.pointer.y);
    }

    function onPointerDown(event) {
        if (player.screen !== "album")
            return;
        if (event.pointerType !== "mouse")
            touchStart = { x: event.clientX, y: event.clientY };
    }

    // A mouse click, or on a touch screen a tap (a click where the finger lifts) or a swipe (left: next page,
    // right: back).
    function onPointerUp(event) {
        if (player.screen !== "album")
            return;
        if (event.pointerType === "mouse" && event.button !== 0)
            return;
        var point = pagePoint(event);
        player.pointer = point;
        if (event.pointerType !== "mouse" && touchStart) {
            var dx = event.clientX - touchStart.x;
            var dy = event.clientY - touchStart.y;
            touchStart = null;
            if (Math.abs(dx) > SWIPE_PIXELS && Math.abs(dx) > Math.abs(dy)) {
                if (dx < 0)
                    player.next();
                else
                    player.back();
                return;
            }
        }
        if (player.view)
            player.view.click(point.x, point.y);
    }

    function onPointerLeave() {
        player.pointer = null;
        if (player.view && player.screen === "album")
            player.view.mouseMove(-PAGE_WIDTH, -PAGE_HEIGHT);
    }

    function onKey(event) {
        if (player.screen !== "album" || event.altKey || event.ctrlKey || event.metaKey)
            return;
        switch (event.key) {
        case "ArrowRight":
        case " ":
        case "PageDown":
            player.next();
            break;
        case "ArrowLeft":
        case "PageUp":
            player.back();
            break;
        case "Home":
            player.showFirst();
            break;
        default:
            return;
        }
        event.preventDefault();
    }

    function pageFromHash() {
        var match = /^#page-(\d+)$/.exec(location.hash);
        if (!match)
            return -1;
        var index = parseInt(match[1], 10) - 1;
        return index >= 0 && index < album.pages.length ? index : -1;
    }

    // The browser's Back and Forward buttons move between the pages seen; back before the first one is the
    // start screen.
    function onHashChange() {
        if (player.screen !== "album")
            return;
        var index = pageFromHash();
        if (index >= 0 && index !== player.index)
            player.show(index, true);
        else if (index < 0 && location.hash === "")
            player.toStart();
    }

    function toggleFullScreen() {
        var root = document.documentElement;
        if (document.fullscreenElement) {
            document.exitFullscreen().catch(function () {});
        } else if (root.requestFullscreen) {
            root.requestFullscreen().catch(function () {});
        } else if (root.webkitRequestFullscreen) {
            root.webkitRequestFullscreen();
        }
    }

    function animate(time) {
        if (player.view)
            player.view.tick(time);
        window.requestAnimationFrame(animate);
    }

    function setUp() {
        if (!album || !album.pages) {
            startScreen.hidden = false;
            document.getElementById("start-title").textContent = "This album cannot be shown.";
            document.getElementById("play").hidden = true;
            return;
        }
        document.body.style.background = album.background;
        document.body.classList.toggle("light", isLight(album.background));
        document.title = album.title;
        document.getElementById("start-title").textContent = album.title;
        document.getElementById("start-date").textContent = album.date;
        document.getElementById("end-title").textContent = album.title;
        player.audio = makeAudio();
        fit();
        window.addEventListener("resize", fit);
        stage.addEventListener("pointermove", onPointerMove);
        stage.addEventListener("pointerdown", onPointerDown);
        stage.addEventListener("pointerup", onPointerUp);
        stage.addEventListener("pointerleave", onPointerLeave);
        document.addEventListener("keydown", onKey);
        window.addEventListener("hashchange", onHashChange);
        document.getElementById("play").addEventListener("click", function () {
            player.begin(pageFromHash());
        });
        document.getElementById("again").addEventListener("click", function () {
            if (location.hash !== "")
                history.replaceState(null, "", location.pathname + location.search);
            player.begin(-1);
        });
        if (document.fullscreenEnabled || document.webkitFullscreenEnabled) {
            fullScreenButton.hidden = false;
            fullScreenButton.addEventListener("click", toggleFullScreen);
        }
        startScreen.hidden = false;
        document.getElementById("play").focus();
        window.requestAnimationFrame(animate);
    }

    // What the page shows, for tests and for curious viewers.
    window.VelloraPlayer = {
        state: function () {
            var view = player.view;
            return {
                screen: player.screen,
                page: player.index,
                studio: !!view && view.page === album.studio,
                soundOn: player.soundOn,
                slide: view ? view.currentSlide : -1,
                shownIndex: view ? view.shownIndex : -1,
                highlightIndex: view ? view.highlightIndex : -1,
                fading: !!(view && view.fade),
                scale: scale
            };
        },
        goTo: function (target) {
            player.goTo(target);
        }
    };

    setUp();
})();
