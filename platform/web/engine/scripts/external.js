// The host's automation object as window.external: each call is answered synchronously by the host.
(function () {
    'use strict';
    var address = location.protocol + '//' + location.host + '/.external';

    function call(kind, name, args) {
        var request = new XMLHttpRequest();
        var message = JSON.stringify({view: TVSK_VIEW_ID, kind: kind, name: name, args: args});
        request.open('GET', address + '?' + encodeURIComponent(message), false);
        request.send();
        if (request.status !== 200) {
            throw new Error('window.external.' + name + ' failed');
        }
        return JSON.parse(request.responseText).value;
    }

    try {
        window.external = new Proxy({}, {
            get: function (target, name) {
                if (typeof name !== 'string' || name === 'then' || name === 'toJSON') {
                    return undefined;
                }
                return function () {
                    return call('call', name, Array.prototype.slice.call(arguments));
                };
            },
            set: function (target, name, value) {
                call('put', name, [value]);
                return true;
            }
        });
    } catch (e) {
        console.error('window.external is not available: ' + e);
    }
})();
