import sys, array, json
n=int(sys.argv[1]); out=sys.argv[2]
# a grid of n x n quads, 2 n^2 triangles, one mesh on one node
v=array.array('f')
for j in range(n+1):
    for i in range(n+1):
        v.extend((i,j,(i*j)%7*0.1))
f=array.array('I')
w=n+1
for j in range(n):
    for i in range(n):
        a=j*w+i
        f.extend((a,a+1,a+w+1, a,a+w+1,a+w))
bin_=v.tobytes()+f.tobytes()
open(out+'.bin','wb').write(bin_)
doc={"format":"varnex-scene","version":1,"unit":{"type":"meters"},
 "buffers":[{"uri":out.split('/')[-1]+'.bin',"byteLength":len(bin_)}],
 "objects":[{"id":"g","type":"mesh","mesh":{"vertices":{"buffer":0,"offset":0,"count":len(v)//3,"type":"f32x3"},
   "faces":{"buffer":0,"offset":len(v)*4,"count":len(f)//3,"type":"u32x3"}}}],
 "nodes":[{"name":"Grid","object":"g"}]}
json.dump(doc,open(out+'.json','w'))
